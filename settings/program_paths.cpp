#include "settings/program_paths.h"

#include <string_view>

namespace vortal {
namespace {

constexpr std::string_view kExecutableName = "Vortal.exe";

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

}  // namespace

ProgramPaths DerivePaths(const std::string& modulePath) {
  if (modulePath.find(kExecutableName) != std::string::npos) {
    return {ReplaceAll(modulePath, kExecutableName, "config.bin"),
            ReplaceAll(modulePath, kExecutableName, "record.ini"),
            ReplaceAll(modulePath, kExecutableName, "str.ini"),
            ReplaceAll(modulePath, kExecutableName, ""),
            ReplaceAll(modulePath, kExecutableName, "Profiles")};
  }
  // Renamed executable: never let a derived path point at the executable.
  std::size_t slash = modulePath.find_last_of("/\\");
  std::string dir = slash == std::string::npos ? std::string() : modulePath.substr(0, slash + 1);
  return {dir + "config.bin", dir + "record.ini", dir + "str.ini", dir, dir + "Profiles"};
}

}  // namespace vortal
