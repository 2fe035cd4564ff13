// A fresh folder for one test, removed afterwards.
#pragma once

#include <filesystem>
#include <string>

namespace vortal::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // A UTF-8 path of a file in the folder.
  std::string File(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

}  // namespace vortal::testing
