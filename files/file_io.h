// Small file layer for the program's own files. Paths are UTF-8 on every
// platform. The implementation is per platform (platform/file_io_*.cpp).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vortal {

// True when anything (file or folder) exists at the path.
bool PathExists(const std::string& path);
bool IsDirectory(const std::string& path);
// Creates the folder (its parent must exist); true when it is there after.
bool MakeFolder(const std::string& path);

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path);

// Writes the bytes to a temporary file beside `path`, flushes them to disk and
// renames the temporary file over `path`, so a crash, a full disk or a failed
// write leaves either the old or the new file, never a mix. Returns 0 on
// success, otherwise the system's error code (GetLastError on Windows, errno
// elsewhere); on failure `path` is untouched and the temporary file removed.
// Temporary files that a killed save of the same file left behind are
// removed first.
int WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Removes the temporary files of `path` (see files/temporary_files.h)
// whose process has ended; those of running processes are left alone.
void RemoveStaleTemporaries(const std::string& path);

// Names of the direct sub-folders of a folder, in the order the system lists them.
std::vector<std::string> ListSubfolders(const std::string& folder);

// Names of the plain files of a folder, in the order the system lists them.
std::vector<std::string> ListFiles(const std::string& folder);

// A file of a folder: joined with the separator the folder is written with
// (none added after one that ends in a separator; an empty folder is the
// current one).
std::string JoinPath(const std::string& folder, const std::string& name);

// The running executable's full path (UTF-8), as the system reports it.
std::string ModulePath();

}  // namespace vortal
