#include "support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <system_error>

namespace vortal::testing {

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (;;) {
    path_ = std::filesystem::temp_directory_path() /
            ("vortal-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::error_code ec;
    if (std::filesystem::create_directory(path_, ec)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::File(const std::string& name) const {
  const std::u8string utf8 = (path_ / std::filesystem::path(std::u8string(name.begin(), name.end()))).u8string();
  return std::string(utf8.begin(), utf8.end());
}

}  // namespace vortal::testing
