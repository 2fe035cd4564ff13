// The temporary files a save writes beside the file it replaces are named
// "<file>.<process id>-<unique part>.tmp". A save that is killed before its
// rename leaves one behind; the next save of the same file removes those
// whose process has ended.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vortal {

// The prefix of the temporary files of `fileName` written by process `pid`.
std::string TemporaryPrefix(std::string_view fileName, unsigned long pid);

// The process that wrote `candidate` as a temporary file of `fileName`;
// nothing when `candidate` is not one (the comparison is exact, also in case).
std::optional<unsigned long> TemporaryFileOwner(std::string_view fileName,
                                                std::string_view candidate);

}  // namespace vortal
