#include "files/temporary_files.h"

namespace vortal {

namespace {
constexpr std::string_view kSuffix = ".tmp";
constexpr std::size_t kMaxPidDigits = 10;
}  // namespace

std::string TemporaryPrefix(std::string_view fileName, unsigned long pid) {
  return std::string(fileName) + "." + std::to_string(pid) + "-";
}

std::optional<unsigned long> TemporaryFileOwner(std::string_view fileName,
                                                std::string_view candidate) {
  if (candidate.size() <= fileName.size() + 1 + kSuffix.size() || !candidate.starts_with(fileName) ||
      candidate[fileName.size()] != '.' || !candidate.ends_with(kSuffix))
    return std::nullopt;
  std::string_view rest = candidate.substr(fileName.size() + 1);
  rest.remove_suffix(kSuffix.size());
  const std::size_t dash = rest.find('-');
  if (dash == 0 || dash == std::string_view::npos || dash > kMaxPidDigits ||
      dash + 1 == rest.size())
    return std::nullopt;
  unsigned long pid = 0;
  for (char c : rest.substr(0, dash)) {
    if (c < '0' || c > '9') return std::nullopt;
    pid = pid * 10 + static_cast<unsigned long>(c - '0');
  }
  // The unique part is letters and digits only (no separators, no dots).
  for (char c : rest.substr(dash + 1)) {
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!alnum) return std::nullopt;
  }
  return pid;
}

}  // namespace vortal
