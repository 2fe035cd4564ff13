// Profile (INI) files with the observable behaviour of the Windows profile
// functions (GetPrivateProfileSectionNamesW, GetPrivateProfileStringW,
// WritePrivateProfileStringW), on every platform. Text is UTF-8; buffer sizes
// count UTF-16 characters, as the Windows functions do.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vortal {

// What GetPrivateProfileSectionNamesW leaves in a zero-filled buffer of
// `bufferChars` characters: names separated by one zero, the list ended by two.
// The result has exactly `bufferChars` characters.
std::u16string ProfileSectionNamesBuffer(const std::string& path, std::size_t bufferChars);

// All section names in file order (duplicates included), not truncated.
std::vector<std::string> ProfileSectionNames(const std::string& path);

// GetPrivateProfileStringW with a section and a key: the value, or the default
// when the file, section or key is missing; cut to bufferChars - 1 characters.
std::string ProfileGetString(const std::string& path, std::string_view section,
                             std::string_view key, std::string_view defaultValue = "",
                             std::size_t bufferChars = 1024);

// WritePrivateProfileStringW. No key: delete the whole section. No value:
// delete the key. Returns false when the file could not be written (it is then
// unchanged).
bool ProfileWriteString(const std::string& path, std::string_view section,
                        std::optional<std::string_view> key,
                        std::optional<std::string_view> value);

}  // namespace vortal
