#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "files/file_io.h"
#include "files/temporary_files.h"

namespace vortal {

bool PathExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeFolder(const std::string& path) {
  return ::mkdir(path.c_str(), 0777) == 0 || IsDirectory(path);
}

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes;
  std::uint8_t chunk[65536];
  for (;;) {
    ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  ::close(fd);
  return bytes;
}

int WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  RemoveStaleTemporaries(path);
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string temp = folder + TemporaryPrefix(name, static_cast<unsigned long>(::getpid())) + "XXXXXX.tmp";
  int fd = ::mkstemps(temp.data(), 4);
  if (fd < 0) return errno;
  int error = 0;
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  // Keep the permissions of the file being replaced; a new file gets the
  // usual ones (mkstemp would leave it readable by its owner only).
  struct stat st;
  if (error == 0) {
    if (::stat(path.c_str(), &st) == 0) {
      ::fchmod(fd, st.st_mode & 07777);
    } else {
      const mode_t mask = ::umask(0);
      ::umask(mask);
      ::fchmod(fd, 0666 & ~mask);
    }
  }
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) ::unlink(temp.c_str());
  return error;
}

void RemoveStaleTemporaries(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  DIR* dir = ::opendir(folder.empty() ? "/" : folder.c_str());
  if (!dir) return;
  while (dirent* entry = ::readdir(dir)) {
    const std::optional<unsigned long> owner = TemporaryFileOwner(name, entry->d_name);
    if (!owner) continue;
    // A process that still runs may be saving right now.
    if (::kill(static_cast<pid_t>(*owner), 0) == 0 || errno == EPERM) continue;
    ::unlink((folder + "/" + entry->d_name).c_str());
  }
  ::closedir(dir);
}

namespace {

// The names in `folder` (without "." and ".."): its subfolders or its
// regular files, links followed.
std::vector<std::string> ListEntries(const std::string& folder, bool folders) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return names;
  while (dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat status {};
    if (::stat((folder + "/" + name).c_str(), &status) != 0) continue;
    if (folders ? S_ISDIR(status.st_mode) : S_ISREG(status.st_mode)) names.push_back(name);
  }
  ::closedir(dir);
  return names;
}

}  // namespace

std::vector<std::string> ListSubfolders(const std::string& folder) { return ListEntries(folder, true); }

std::vector<std::string> ListFiles(const std::string& folder) { return ListEntries(folder, false); }

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder + (folder.back() == '/' ? "" : "/") + name;
}

std::string ModulePath() {
  char buffer[PATH_MAX + 1];
  ssize_t n = ::readlink("/proc/self/exe", buffer, PATH_MAX);
  if (n <= 0) return {};
  return std::string(buffer, static_cast<std::size_t>(n));
}

}  // namespace vortal
