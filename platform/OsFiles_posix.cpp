// POSIX side of the OS seam. Share modes are not enforced here; byte-range
// locks use open file description locks where available so that two handles
// in one process exclude each other as on Windows.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <thread>

#include "OsFiles.h"
#include "Streams.h"

namespace os {

namespace {

thread_local uint32_t lastError = 0;

template <typename T>
T Fail(T value) {
  lastError = uint32_t(errno);
  return value;
}

int AccessFlags(uint32_t mode) {
  switch (mode & 3) {
    case fmOpenWrite: return O_WRONLY;
    case fmOpenReadWrite: return O_RDWR;
    default: return O_RDONLY;
  }
}

bool LockCommand(THandle h, int type, int64_t offset, int64_t length) {
  struct flock fl;
  std::memset(&fl, 0, sizeof fl);
  fl.l_type = short(type);
  fl.l_whence = SEEK_SET;
  fl.l_start = off_t(offset);
  fl.l_len = off_t(length);
#ifdef F_OFD_SETLK
  int cmd = F_OFD_SETLK;
#else
  int cmd = F_SETLK;
#endif
  if (fcntl(int(h), cmd, &fl) == 0) return true;
  // POSIX grants a write lock only through a descriptor open for writing;
  // Windows locks through read-only handles too. A read lock through such a
  // descriptor still keeps every other holder's write lock out, and its
  // holder cannot write anyway.
  if (errno != EBADF || type != F_WRLCK) return Fail(false);
  fl.l_type = F_RDLCK;
  if (fcntl(int(h), cmd, &fl) != 0) return Fail(false);
  return true;
}

// A write that the write hook cut short: what went out, as a full disk
// reports it (-1 when nothing did).
int64_t WriteThenFail(int64_t written) {
  errno = ENOSPC;
  return written > 0 ? written : Fail(int64_t(-1));
}

}  // namespace

// The writes themselves, after the write hook had its say.
static int64_t WriteAll(THandle h, const void* buffer, int64_t count);
static int64_t WriteAllAt(THandle h, int64_t offset, const void* buffer, int64_t count);

THandle FileOpen(const String& name, uint32_t mode) {
  int fd = ::open(name.c_str(), AccessFlags(mode) | O_CLOEXEC);
  if (fd < 0) return Fail(InvalidHandle);
  struct stat st;
  if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    errno = EISDIR;
    return Fail(InvalidHandle);
  }
  return fd;
}

THandle FileCreate(const String& name, uint32_t) {
  int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  return fd < 0 ? Fail(InvalidHandle) : fd;
}

THandle FileCreateNew(const String& name) {
  int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  return fd < 0 ? Fail(InvalidHandle) : fd;
}

int64_t FileRead(THandle h, void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    ssize_t n = ::read(int(h), static_cast<char*>(buffer) + done, size_t(count - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return done > 0 ? done : Fail(int64_t(-1));
    }
    if (n == 0) break;
    done += n;
  }
  return done;
}

int64_t FileWrite(THandle h, const void* buffer, int64_t count) {
  const int64_t allowed = AllowedWrite(h, count);
  if (allowed < count) return WriteThenFail(WriteAll(h, buffer, allowed));
  return WriteAll(h, buffer, count);
}

static int64_t WriteAll(THandle h, const void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    ssize_t n = ::write(int(h), static_cast<const char*>(buffer) + done, size_t(count - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return done > 0 ? done : Fail(int64_t(-1));
    }
    done += n;
  }
  return done;
}

int64_t FileReadAt(THandle h, int64_t offset, void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    ssize_t n = ::pread(int(h), static_cast<char*>(buffer) + done, size_t(count - done), off_t(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return done > 0 ? done : Fail(int64_t(-1));
    }
    if (n == 0) break;
    done += n;
  }
  return done;
}

int64_t FileWriteAt(THandle h, int64_t offset, const void* buffer, int64_t count) {
  const int64_t allowed = AllowedWrite(h, count);
  if (allowed < count) return WriteThenFail(WriteAllAt(h, offset, buffer, allowed));
  return WriteAllAt(h, offset, buffer, count);
}

static int64_t WriteAllAt(THandle h, int64_t offset, const void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    ssize_t n =
        ::pwrite(int(h), static_cast<const char*>(buffer) + done, size_t(count - done), off_t(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return done > 0 ? done : Fail(int64_t(-1));
    }
    done += n;
  }
  return done;
}

int64_t FileSeek(THandle h, int64_t offset, int origin) {
  int whence = origin == 1 ? SEEK_CUR : (origin == 2 ? SEEK_END : SEEK_SET);
  off_t r = ::lseek(int(h), off_t(offset), whence);
  return r < 0 ? Fail(int64_t(-1)) : int64_t(r);
}

bool FileSetSize(THandle h, int64_t size) { return ::ftruncate(int(h), off_t(size)) == 0 || Fail(false); }
bool FileFlush(THandle h) { return ::fsync(int(h)) == 0 || Fail(false); }
void FileClose(THandle h) {
  if (h != InvalidHandle) ::close(int(h));
}

bool FileLockRange(THandle h, int64_t offset, int64_t length) { return LockCommand(h, F_WRLCK, offset, length); }
bool FileUnlockRange(THandle h, int64_t offset, int64_t length) { return LockCommand(h, F_UNLCK, offset, length); }

uint32_t LastError() { return lastError; }
String SysErrorMessage(uint32_t code) { return std::strerror(int(code)); }

bool FileExists(const String& name) {
  struct stat st;
  return ::stat(name.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const String& name) {
  struct stat st;
  return ::stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateDir(const String& name) { return ::mkdir(name.c_str(), 0777) == 0 || Fail(false); }

bool ForceDirectories(const String& name) {
  String dir = ExcludeTrailingPathDelimiter(name);
  if (dir.empty() || DirectoryExists(dir)) return true;
  String parent = ExtractFileDir(dir);
  if (parent != dir && !ForceDirectories(parent)) return false;
  return CreateDir(dir) || DirectoryExists(dir);
}

bool RemoveDir(const String& name) { return ::rmdir(name.c_str()) == 0 || Fail(false); }
bool RemoveFile(const String& name) { return ::unlink(name.c_str()) == 0 || Fail(false); }

bool RenameFile(const String& from, const String& to) {
  if (::access(to.c_str(), F_OK) == 0) {
    errno = EEXIST;
    return Fail(false);
  }
  return ::rename(from.c_str(), to.c_str()) == 0 || Fail(false);
}

bool MoveReplacing(const String& from, const String& to) { return ::rename(from.c_str(), to.c_str()) == 0 || Fail(false); }

String RealPath(const String& name) {
  char* resolved = ::realpath(name.c_str(), nullptr);
  if (!resolved) return Fail(String());
  String result(resolved);
  ::free(resolved);
  return result;
}

int64_t FileSizeByName(const String& name) {
  struct stat st;
  return ::stat(name.c_str(), &st) == 0 ? int64_t(st.st_size) : Fail(int64_t(-1));
}

int32_t FileGetAttr(const String& name) {
  struct stat st;
  if (::stat(name.c_str(), &st) != 0) return Fail(int32_t(-1));
  int32_t attr = S_ISDIR(st.st_mode) ? faDirectory : faArchive;
  if (!(st.st_mode & S_IWUSR)) attr |= faReadOnly;
  String base = ExtractFileName(name);
  if (!base.empty() && base[0] == '.') attr |= faHidden;
  return attr;
}

bool FileSetAttr(const String& name, uint32_t attr) {
  struct stat st;
  if (::stat(name.c_str(), &st) != 0) return Fail(false);
  mode_t mode = st.st_mode & 07777;
  mode = (attr & faReadOnly) ? mode & ~mode_t(0222) : mode | S_IWUSR;
  return ::chmod(name.c_str(), mode) == 0 || Fail(false);
}

bool FileSetPermissions(const String& name, uint32_t permissions) {
  return ::chmod(name.c_str(), mode_t(permissions & 0777)) == 0 || Fail(false);
}

int64_t FileGetModTime(const String& name) {
  struct stat st;
  return ::stat(name.c_str(), &st) == 0 ? int64_t(st.st_mtime) : Fail(int64_t(-1));
}

bool FileSetModTime(const String& name, int64_t unixSeconds) {
  struct timespec times[2];
  times[0].tv_sec = time_t(unixSeconds);
  times[0].tv_nsec = 0;
  times[1] = times[0];
  return ::utimensat(AT_FDCWD, name.c_str(), times, 0) == 0 || Fail(false);
}

String GetCurrentDir() {
  char buf[4096];
  return ::getcwd(buf, sizeof buf) ? String(buf) : String();
}

bool SetCurrentDir(const String& dir) { return ::chdir(dir.c_str()) == 0 || Fail(false); }

String TempDirectory() {
  const char* t = ::getenv("TMPDIR");
  return IncludeTrailingPathDelimiter(t && *t ? t : "/tmp");
}

String CreateTempFile(const String& dir, const String& prefix) {
  String pattern = IncludeTrailingPathDelimiter(dir) + prefix + "XXXXXX";
  int fd = ::mkstemp(pattern.data());
  if (fd < 0) return Fail(String());
  ::close(fd);
  return pattern;
}

int64_t DiskFree(const String& path) {
  struct statvfs s;
  if (::statvfs(path.c_str(), &s) != 0) return Fail(int64_t(-1));
  return int64_t(s.f_bavail) * int64_t(s.f_frsize);
}

struct DirSearch::Impl {
  DIR* dir = nullptr;
  String folder;
  String mask;
};

DirSearch::DirSearch(const String& pattern) : impl_(new Impl) {
  impl_->folder = ExtractFilePath(pattern);
  impl_->mask = ExtractFileName(pattern);
  impl_->dir = ::opendir(impl_->folder.empty() ? "." : impl_->folder.c_str());
}

DirSearch::~DirSearch() {
  if (impl_->dir) ::closedir(impl_->dir);
  delete impl_;
}

bool DirSearch::Next(TSearchRec& rec) {
  if (!impl_->dir) return false;
  while (dirent* e = ::readdir(impl_->dir)) {
    String name = e->d_name;
    if (name == "." || name == "..") continue;
    // Windows masks: "*.*" matches every name, with or without a dot.
    bool all = impl_->mask == "*.*" || impl_->mask == "*";
    if (!all && ::fnmatch(impl_->mask.c_str(), name.c_str(), FNM_CASEFOLD) != 0) continue;
    struct stat st;
    String full = impl_->folder + name;
    if (::stat(full.c_str(), &st) != 0) continue;
    rec.Name = name;
    rec.Size = S_ISDIR(st.st_mode) ? 0 : int64_t(st.st_size);
    rec.Attr = uint32_t(FileGetAttr(full));
    rec.ModTime = int64_t(st.st_mtime);
    return true;
  }
  return false;
}

uint32_t TickCount() {
  struct timespec ts;
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  return uint32_t(uint64_t(ts.tv_sec) * 1000 + uint64_t(ts.tv_nsec) / 1000000);
}

void SleepMs(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

int64_t LocalOffsetSeconds(int64_t unixSeconds) {
  time_t t = time_t(unixSeconds);
  struct tm local;
  ::localtime_r(&t, &local);
  return int64_t(local.tm_gmtoff);
}

void RandomBytes(void* buffer, size_t count) {
  char* p = static_cast<char*>(buffer);
  while (count > 0) {
    ssize_t n = ::getrandom(p, count, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EOSError("No random source", uint32_t(errno));
    }
    p += n;
    count -= size_t(n);
  }
}

uint32_t CurrentProcessId() { return uint32_t(::getpid()); }
uint32_t CurrentThreadId() { return uint32_t(::syscall(SYS_gettid)); }

}  // namespace os
