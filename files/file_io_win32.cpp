#include <windows.h>

#include <algorithm>
#include <string>

#include "files/win32_text.h"
#include "files/file_io.h"
#include "files/temporary_files.h"

namespace vortal {

bool PathExists(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const std::string& path) {
  DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFolder(const std::string& path) {
  return CreateDirectoryW(Widen(path).c_str(), nullptr) || IsDirectory(path);
}

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path) {
  HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  std::uint8_t chunk[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file, chunk, sizeof chunk, &got, nullptr)) {
      CloseHandle(file);
      return std::nullopt;
    }
    if (got == 0) break;
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  CloseHandle(file);
  return bytes;
}

int WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::wstring target = Widen(path);
  // A read-only file is not replaced, as Windows refuses to replace it; say
  // so before anything is written (a rename over it is not refused everywhere).
  const DWORD targetAttributes = GetFileAttributesW(target.c_str());
  if (targetAttributes != INVALID_FILE_ATTRIBUTES && (targetAttributes & FILE_ATTRIBUTE_READONLY) &&
      !(targetAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return ERROR_ACCESS_DENIED;
  RemoveStaleTemporaries(path);
  const std::wstring prefix =
      target.substr(0, target.find_last_of(L"\\/") + 1) +
      Widen(TemporaryPrefix(Narrow(target.substr(target.find_last_of(L"\\/") + 1)),
                            GetCurrentProcessId()));
  std::wstring temp;
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = prefix + std::to_wstring(attempt) + L".tmp";
    if (GetFileAttributesW(temp.c_str()) == INVALID_FILE_ATTRIBUTES) break;
  }
  HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
  DWORD error = 0;
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD wrote = 0;
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
    if (!WriteFile(file, bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0) {
      error = GetLastError();
      if (error == 0) error = ERROR_WRITE_FAULT;
      break;
    }
    done += wrote;
  }
  if (error == 0 && !FlushFileBuffers(file)) error = GetLastError();
  CloseHandle(file);
  if (error == 0 &&
      !MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    error = GetLastError();
  if (error != 0) DeleteFileW(temp.c_str());
  return static_cast<int>(error);
}

namespace {
bool ProcessRuns(unsigned long pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (!process) return GetLastError() == ERROR_ACCESS_DENIED;  // someone else's, running
  DWORD code = 0;
  const bool runs = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
  CloseHandle(process);
  return runs;
}
}  // namespace

void RemoveStaleTemporaries(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(Widen(folder + "\\" + name + ".*.tmp").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string candidate = Narrow(data.cFileName);
    const std::optional<unsigned long> owner = TemporaryFileOwner(name, candidate);
    if (!owner || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || ProcessRuns(*owner)) continue;
    DeleteFileW(Widen(folder + "\\" + candidate).c_str());
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

namespace {

// The names in `folder` (without "." and ".."): its subfolders or its files.
std::vector<std::string> ListEntries(const std::string& folder, bool folders) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(Widen(folder + "\\*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    if (((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folders) names.push_back(Narrow(name));
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

}  // namespace

std::vector<std::string> ListSubfolders(const std::string& folder) { return ListEntries(folder, true); }

std::vector<std::string> ListFiles(const std::string& folder) { return ListEntries(folder, false); }

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  const char last = folder.back();
  if (last == '/' || last == '\\') return folder + name;
  const bool backslashes = folder.find('/') == std::string::npos;
  return folder + (backslashes ? "\\" : "/") + name;
}

std::string ModulePath() {
  // The program reads its module path into a buffer of 1024 characters.
  wchar_t buffer[1024] = {};
  DWORD n = GetModuleFileNameW(nullptr, buffer, 1024);
  return Narrow(std::wstring(buffer, n));
}

}  // namespace vortal
