#include "file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

namespace qf {

namespace {

// Closes a descriptor on scope exit unless released.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  Fd& operator=(Fd&& other) noexcept {
    if (this != &other) {
      if (fd_ >= 0) ::close(fd_);
      fd_ = other.release();
    }
    return *this;
  }
  int get() const { return fd_; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

enum class Doing { Reading, Writing };

// What went wrong, said in the words of the one who asked for the file.
std::string Why(int err, Doing doing) {
  switch (err) {
    case ENOENT:
      return doing == Doing::Reading ? "ファイルがありません" : "フォルダがありません";
    case ENOTDIR:
      return "フォルダがありません";
    case EACCES:
    case EPERM:
      return doing == Doing::Reading ? "読み込む権限がありません" : "書き込む権限がありません";
    case ENOSPC:
    case EDQUOT:
      return "ディスクがいっぱいです";
    case EROFS:
      return "読み取り専用のファイルシステムです";
    case EISDIR:
      return doing == Doing::Reading ? "フォルダです" : "同じ名前のフォルダがあります";
    case ENAMETOOLONG:
      return "名前が長すぎます";
    default:
      return std::string(doing == Doing::Reading ? "読み込めませんでした"
                                                 : "書き込めませんでした") +
             "（" + std::strerror(err) + "）";
  }
}

// Names the file the user chose, never a temporary one beside it.
FileStatus Failure(int err, Doing doing, const std::filesystem::path& path) {
  std::string why = Why(err, doing);
  std::error_code ec;
  // A folder that is there but takes no files (/proc, for one) is not a missing folder.
  if (doing == Doing::Writing && err == ENOENT && path.has_parent_path() &&
      std::filesystem::is_directory(path.parent_path(), ec)) {
    why = "この場所にはファイルを作れません";
  }
  return {FileErrorFromErrno(err),
          "「" + path.string() + "」" +
              (doing == Doing::Reading ? "を読み込めません：" : "に書き込めません：") + why};
}

std::string TempName(const std::filesystem::path& target, std::random_device& rd) {
  return "." + target.filename().string() + ".tmp" + std::to_string(::getpid()) + "_" +
         std::to_string(rd());
}

}  // namespace

std::string WriteFailureReason(int err) {
  return Why(err, Doing::Writing);
}

int FileErrorFromErrno(int err) {
  switch (err) {
    case 0:
      return kFileOk;
    case ENOENT:
      return kErrFileNotFound;
    case ENOTDIR:
      return kErrPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return kErrPermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return kErrDiskFull;
    case EIO:
      return kErrDeviceIo;
    case ENOMEM:
      return kErrOutOfMemory;
    default:
      return kErrPathFileAccess;
  }
}

FileStatus ReadWholeFile(const std::filesystem::path& path, std::string& bytes, size_t maxBytes) {
  // Non-blocking, so that opening a pipe does not wait for a writer; only regular files are read.
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) return Failure(errno, Doing::Reading, path);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return Failure(errno, Doing::Reading, path);
  if (S_ISDIR(st.st_mode)) return Failure(EISDIR, Doing::Reading, path);
  if (!S_ISREG(st.st_mode))
    return {kErrPathFileAccess,
            "「" + path.string() + "」を読み込めません：普通のファイルではありません"};
  if (st.st_size > 0 && static_cast<unsigned long long>(st.st_size) > maxBytes) {
    return {kErrOutOfMemory, "「" + path.string() + "」を読み込めません：大きすぎます"};
  }
  bytes.clear();
  bytes.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Failure(errno, Doing::Reading, path);
    }
    if (n == 0) break;
    if (bytes.size() + static_cast<size_t>(n) > maxBytes) {
      return {kErrOutOfMemory, "「" + path.string() + "」を読み込めません：大きすぎます"};
    }
    bytes.append(buf, static_cast<size_t>(n));
  }
  if (::close(fd.release()) != 0) return Failure(errno, Doing::Reading, path);
  return {};
}

FileStatus WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  // Write through a symbolic link to the file it names, not over the link.
  std::filesystem::path target = path;
  std::error_code ec;
  if (std::filesystem::is_symlink(path, ec)) {
    auto resolved = std::filesystem::canonical(path, ec);
    if (!ec) target = resolved;
  }
  const std::filesystem::path dir =
      target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");

  // Keep the mode of a file being replaced; a new file gets 0666 less the umask.
  mode_t mode = 0666;
  struct stat st {};
  const bool replacing = ::stat(target.c_str(), &st) == 0;
  if (replacing) mode = st.st_mode & 07777;

  std::random_device rd;
  std::filesystem::path temp;
  Fd fd(-1);
  for (int attempt = 0; attempt < 100 && fd.get() < 0; ++attempt) {
    temp = dir / TempName(target, rd);
    Fd tried(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
    if (tried.get() < 0 && errno != EEXIST) return Failure(errno, Doing::Writing, path);
    if (tried.get() >= 0) fd = Fd(tried.release());
  }
  if (fd.get() < 0) return Failure(EEXIST, Doing::Writing, path);
  auto fail = [&](int err) {
    ::unlink(temp.c_str());
    return Failure(err, Doing::Writing, path);
  };
  // The umask may have narrowed the mode of a replaced file; restoring it is best effort.
  if (replacing) (void)::fchmod(fd.get(), mode);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd.get()) != 0) return fail(errno);
  if (::close(fd.release()) != 0) return fail(errno);
  if (::rename(temp.c_str(), target.c_str()) != 0) return fail(errno);
  // Make the rename itself durable.
  Fd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dirFd.get() >= 0) ::fsync(dirFd.get());
  return {};
}

}  // namespace qf
