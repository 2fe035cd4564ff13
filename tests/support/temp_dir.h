// A fresh folder for one test, removed afterwards, and whole-file reads and
// writes for the tests. Files are read and written as bytes (no line-end
// translation), on every platform; paths and names are UTF-8.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vortal::testing {

// The whole file at `path`; empty when there is none or it cannot be read.
std::string ReadWhole(const std::string& path);
std::vector<std::uint8_t> ReadWholeBytes(const std::string& path);
// Its lines, without their '\n'.
std::vector<std::string> ReadLines(const std::string& path);
// Makes `contents` the whole file at `path`, with the folders on its way;
// a file that cannot be written fails the test.
void WriteWhole(const std::string& path, std::string_view contents);
void WriteWhole(const std::string& path, const std::vector<std::uint8_t>& contents);

// The bytes of a UTF-16LE text file with its byte-order mark, as Windows
// writes Unicode profiles.
std::string Utf16LeFile(std::u16string_view text);

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The path of a name in the folder ("a/b": b in its sub-folder a).
  std::string File(const std::string& name) const;

  std::string Read(const std::string& name) const { return ReadWhole(File(name)); }
  std::vector<std::uint8_t> ReadBytes(const std::string& name) const { return ReadWholeBytes(File(name)); }
  std::vector<std::string> ReadLines(const std::string& name) const { return testing::ReadLines(File(name)); }
  // Returns the file's path.
  std::string Write(const std::string& name, std::string_view contents) const;
  std::string Write(const std::string& name, const std::vector<std::uint8_t>& contents) const;
  // Adds `text` at the end of the file, as a tool appending to it would.
  void Append(const std::string& name, std::string_view text) const;
  // A folder of that name (and those on its way); returns its path.
  std::string MakeFolder(const std::string& name) const;
  bool Exists(const std::string& name) const;
  // The names in a folder of it (the folder itself by default), sorted.
  std::vector<std::string> List(const std::string& folder = "") const;

 private:
  std::filesystem::path path_;
};

}  // namespace vortal::testing
