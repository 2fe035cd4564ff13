#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

namespace vortal::testing {
namespace {

namespace fs = std::filesystem;

fs::path FromUtf8(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::string ToUtf8(const fs::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
}

}  // namespace

std::string ReadWhole(const std::string& path) {
  std::error_code ec;
  if (!fs::is_regular_file(FromUtf8(path), ec)) return "";
  std::ifstream in(FromUtf8(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::uint8_t> ReadWholeBytes(const std::string& path) {
  const std::string text = ReadWhole(path);
  return {text.begin(), text.end()};
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::istringstream in(ReadWhole(path));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void WriteWhole(const std::string& path, std::string_view contents) {
  const fs::path file = FromUtf8(path);
  std::error_code ec;
  if (file.has_parent_path()) fs::create_directories(file.parent_path(), ec);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  out.close();
  EXPECT_TRUE(out) << "cannot write " << path;
}

void WriteWhole(const std::string& path, const std::vector<std::uint8_t>& contents) {
  WriteWhole(path, std::string_view(reinterpret_cast<const char*>(contents.data()), contents.size()));
}

std::string Utf16LeFile(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (;;) {
    path_ = fs::temp_directory_path() / ("vortal-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::error_code ec;
    if (fs::create_directory(path_, ec)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string TempDir::File(const std::string& name) const { return ToUtf8(path_ / FromUtf8(name)); }

std::string TempDir::Write(const std::string& name, std::string_view contents) const {
  WriteWhole(File(name), contents);
  return File(name);
}

std::string TempDir::Write(const std::string& name, const std::vector<std::uint8_t>& contents) const {
  WriteWhole(File(name), contents);
  return File(name);
}

void TempDir::Append(const std::string& name, std::string_view text) const {
  std::ofstream out(FromUtf8(File(name)), std::ios::binary | std::ios::app);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  EXPECT_TRUE(out) << "cannot append to " << name;
}

std::string TempDir::MakeFolder(const std::string& name) const {
  std::error_code ec;
  fs::create_directories(FromUtf8(File(name)), ec);
  EXPECT_FALSE(ec) << "cannot make the folder " << name;
  return File(name);
}

bool TempDir::Exists(const std::string& name) const {
  std::error_code ec;
  return fs::exists(FromUtf8(File(name)), ec);
}

std::vector<std::string> TempDir::List(const std::string& folder) const {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(FromUtf8(File(folder)), ec)) {
    names.push_back(ToUtf8(entry.path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace vortal::testing
