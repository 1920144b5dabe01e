#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <utility>
#include <string>

#include "text/codepage.h"

namespace vellox {
namespace {

// The file system of this platform names files in UTF-8.
std::string nativePath(const Text& path) { return gbkToUtf8(path); }

// A POSIX file descriptor, closed on destruction.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
      if (fd_ >= 0) ::close(fd_);
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  int get() const { return fd_; }
  // Closes now and reports whether the close succeeded (a failed close can mean lost data).
  bool close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool writeFully(int fd, const Text& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::optional<Text> LocalFileStore::readAll(const Text& path) {
  FileDescriptor fd(::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  Text content;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    content.append(buffer, static_cast<std::size_t>(n));
  }
  return content;
}

bool LocalFileStore::writeAll(const Text& path, const Text& bytes) {
  // Write beside the target and rename over it, so a failed write never leaves a truncated file
  // where the user's previous file was.
  const std::string target = nativePath(path);
  struct stat info {};
  if (::stat(target.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return false;
  // O_EXCL with a random suffix: the umask applies to the new file as it would to the target.
  std::random_device random;
  std::string temp;
  FileDescriptor fd(-1);
  for (int attempt = 0; attempt < 16 && fd.get() < 0; ++attempt) {
    temp = target + ".tmp" + std::to_string(random());
    fd = FileDescriptor(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd.get() < 0 && errno != EEXIST) return false;
  }
  if (fd.get() < 0) return false;
  // Replacing a file keeps its permissions.
  const bool keptMode = ::stat(target.c_str(), &info) != 0 || ::fchmod(fd.get(), info.st_mode & 07777) == 0;
  const bool ok = keptMode && writeFully(fd.get(), bytes) && fd.close() &&
                  ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

bool LocalFileStore::exists(const Text& path) {
  struct stat info {};
  return ::stat(nativePath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace vellox
