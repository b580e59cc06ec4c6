// Win32 side of the OS seam. Names are passed to the ANSI (A) functions:
// they are Windows-1252 bytes, the ANSI code page of the system.
#include <windows.h>
#include <bcrypt.h>

#include <algorithm>

#include "OsFiles.h"
#include "Streams.h"

namespace os {

namespace {

thread_local uint32_t lastError = 0;

template <typename T>
T Fail(T value) {
  lastError = ::GetLastError();
  return value;
}

HANDLE H(THandle h) { return reinterpret_cast<HANDLE>(h); }

DWORD ShareFlags(uint32_t mode) {
  switch (mode & 0xF0) {
    case fmShareExclusive: return 0;
    case fmShareDenyWrite: return FILE_SHARE_READ;
    case fmShareDenyRead: return FILE_SHARE_WRITE;
    case fmShareDenyNone: return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default: return FILE_SHARE_READ | FILE_SHARE_WRITE;  // compatibility mode
  }
}

DWORD AccessFlags(uint32_t mode) {
  switch (mode & 3) {
    case fmOpenWrite: return GENERIC_WRITE;
    case fmOpenReadWrite: return GENERIC_READ | GENERIC_WRITE;
    default: return GENERIC_READ;
  }
}

// On a handle opened for synchronous access an OVERLAPPED offset makes
// ReadFile and WriteFile positioned; the call still completes before it
// returns (and leaves the file pointer behind the transferred bytes).
OVERLAPPED At(int64_t offset) {
  OVERLAPPED at{};
  at.Offset = DWORD(uint64_t(offset));
  at.OffsetHigh = DWORD(uint64_t(offset) >> 32);
  return at;
}

// FILETIME ticks (100 ns since 1601) to Unix seconds and back.
constexpr int64_t kEpochDelta = 11644473600LL;

int64_t FileTimeToUnix(const FILETIME& ft) {
  int64_t ticks = (int64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  return ticks / 10000000 - kEpochDelta;
}

FILETIME UnixToFileTime(int64_t unixSeconds) {
  int64_t ticks = (unixSeconds + kEpochDelta) * 10000000;
  FILETIME ft;
  ft.dwLowDateTime = DWORD(ticks);
  ft.dwHighDateTime = DWORD(ticks >> 32);
  return ft;
}

}  // namespace

THandle FileOpen(const String& name, uint32_t mode) {
  HANDLE h = ::CreateFileA(name.c_str(), AccessFlags(mode), ShareFlags(mode), nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  return h == INVALID_HANDLE_VALUE ? Fail(InvalidHandle) : reinterpret_cast<THandle>(h);
}

THandle FileCreate(const String& name, uint32_t shareMode) {
  DWORD share = shareMode ? ShareFlags(shareMode) : 0;
  HANDLE h = ::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  return h == INVALID_HANDLE_VALUE ? Fail(InvalidHandle) : reinterpret_cast<THandle>(h);
}

THandle FileCreateNew(const String& name) {
  HANDLE h = ::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  return h == INVALID_HANDLE_VALUE ? Fail(InvalidHandle) : reinterpret_cast<THandle>(h);
}

int64_t FileRead(THandle h, void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    DWORD chunk = DWORD(std::min<int64_t>(count - done, 1 << 30));
    DWORD n = 0;
    if (!::ReadFile(H(h), static_cast<char*>(buffer) + done, chunk, &n, nullptr))
      return done > 0 ? done : Fail(int64_t(-1));
    if (n == 0) break;
    done += n;
  }
  return done;
}

// The writes themselves, after the write hook had its say.
static int64_t WriteAll(THandle h, const void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    DWORD chunk = DWORD(std::min<int64_t>(count - done, 1 << 30));
    DWORD n = 0;
    if (!::WriteFile(H(h), static_cast<const char*>(buffer) + done, chunk, &n, nullptr) || n == 0)
      return done > 0 ? done : Fail(int64_t(-1));
    done += n;
  }
  return done;
}

// A write that the write hook cut short: what went out, as a full disk
// reports it (-1 when nothing did).
static int64_t WriteThenFail(int64_t written) {
  ::SetLastError(ERROR_DISK_FULL);
  return written > 0 ? written : Fail(int64_t(-1));
}

int64_t FileWrite(THandle h, const void* buffer, int64_t count) {
  const int64_t allowed = AllowedWrite(h, count);
  if (allowed < count) return WriteThenFail(WriteAll(h, buffer, allowed));
  return WriteAll(h, buffer, count);
}

int64_t FileReadAt(THandle h, int64_t offset, void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    DWORD chunk = DWORD(std::min<int64_t>(count - done, 1 << 30));
    DWORD n = 0;
    OVERLAPPED at = At(offset + done);
    if (!::ReadFile(H(h), static_cast<char*>(buffer) + done, chunk, &n, &at)) {
      if (::GetLastError() == ERROR_HANDLE_EOF) break;  // the offset is at or past the end
      return done > 0 ? done : Fail(int64_t(-1));
    }
    if (n == 0) break;
    done += n;
  }
  return done;
}

static int64_t WriteAllAt(THandle h, int64_t offset, const void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    DWORD chunk = DWORD(std::min<int64_t>(count - done, 1 << 30));
    DWORD n = 0;
    OVERLAPPED at = At(offset + done);
    if (!::WriteFile(H(h), static_cast<const char*>(buffer) + done, chunk, &n, &at) || n == 0)
      return done > 0 ? done : Fail(int64_t(-1));
    done += n;
  }
  return done;
}

int64_t FileWriteAt(THandle h, int64_t offset, const void* buffer, int64_t count) {
  const int64_t allowed = AllowedWrite(h, count);
  if (allowed < count) return WriteThenFail(WriteAllAt(h, offset, buffer, allowed));
  return WriteAllAt(h, offset, buffer, count);
}

int64_t FileSeek(THandle h, int64_t offset, int origin) {
  LARGE_INTEGER dist, pos;
  dist.QuadPart = offset;
  DWORD method = origin == 1 ? FILE_CURRENT : (origin == 2 ? FILE_END : FILE_BEGIN);
  if (!::SetFilePointerEx(H(h), dist, &pos, method)) return Fail(int64_t(-1));
  return pos.QuadPart;
}

bool FileSetSize(THandle h, int64_t size) {
  int64_t pos = FileSeek(h, 0, 1);
  if (FileSeek(h, size, 0) < 0) return false;
  bool ok = ::SetEndOfFile(H(h)) || Fail(false);
  FileSeek(h, pos < size ? pos : size, 0);
  return ok;
}

bool FileFlush(THandle h) { return ::FlushFileBuffers(H(h)) || Fail(false); }
void FileClose(THandle h) {
  if (h != InvalidHandle) ::CloseHandle(H(h));
}

bool FileLockRange(THandle h, int64_t offset, int64_t length) {
  return ::LockFile(H(h), DWORD(offset), DWORD(offset >> 32), DWORD(length), DWORD(length >> 32)) || Fail(false);
}

bool FileUnlockRange(THandle h, int64_t offset, int64_t length) {
  return ::UnlockFile(H(h), DWORD(offset), DWORD(offset >> 32), DWORD(length), DWORD(length >> 32)) || Fail(false);
}

uint32_t LastError() { return lastError; }

String SysErrorMessage(uint32_t code) {
  char buf[512];
  DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buf,
                             sizeof buf, nullptr);
  String s(buf, n);
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ' || s.back() == '.')) s.pop_back();
  return s.empty() ? "System error " + std::to_string(code) : s;
}

bool FileExists(const String& name) {
  DWORD a = ::GetFileAttributesA(name.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const String& name) {
  DWORD a = ::GetFileAttributesA(name.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateDir(const String& name) { return ::CreateDirectoryA(name.c_str(), nullptr) || Fail(false); }

bool ForceDirectories(const String& name) {
  String dir = ExcludeTrailingPathDelimiter(name);
  if (dir.empty() || DirectoryExists(dir) || (dir.size() == 2 && dir[1] == ':')) return true;
  String parent = ExtractFileDir(dir);
  if (parent != dir && !ForceDirectories(parent)) return false;
  return CreateDir(dir) || DirectoryExists(dir);
}

bool RemoveDir(const String& name) { return ::RemoveDirectoryA(name.c_str()) || Fail(false); }
bool RemoveFile(const String& name) { return ::DeleteFileA(name.c_str()) || Fail(false); }
bool RenameFile(const String& from, const String& to) { return ::MoveFileA(from.c_str(), to.c_str()) || Fail(false); }

bool MoveReplacing(const String& from, const String& to) {
  return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) || Fail(false);
}

String RealPath(const String& name) {
  // Opening a folder needs backup semantics; the handle follows links.
  HANDLE h = ::CreateFileA(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return Fail(String());
  char buf[MAX_PATH * 4];
  const DWORD n = ::GetFinalPathNameByHandleA(h, buf, sizeof buf, FILE_NAME_NORMALIZED);
  ::CloseHandle(h);
  if (n == 0 || n >= sizeof buf) return Fail(String());
  String path(buf, n);
  // "\\?\C:\..." for a drive, "\\?\UNC\server\..." for a share.
  if (path.rfind("\\\\?\\UNC\\", 0) == 0) return "\\" + path.substr(7);
  if (path.rfind("\\\\?\\", 0) == 0) return path.substr(4);
  return path;
}

int64_t FileSizeByName(const String& name) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (!::GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &d)) return Fail(int64_t(-1));
  return (int64_t(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

int32_t FileGetAttr(const String& name) {
  DWORD a = ::GetFileAttributesA(name.c_str());
  return a == INVALID_FILE_ATTRIBUTES ? Fail(int32_t(-1)) : int32_t(a);
}

bool FileSetAttr(const String& name, uint32_t attr) { return ::SetFileAttributesA(name.c_str(), attr) || Fail(false); }

bool FileSetPermissions(const String&, uint32_t) { return true; }

int64_t FileGetModTime(const String& name) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (!::GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &d)) return Fail(int64_t(-1));
  return FileTimeToUnix(d.ftLastWriteTime);
}

bool FileSetModTime(const String& name, int64_t unixSeconds) {
  HANDLE h = ::CreateFileA(name.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return Fail(false);
  FILETIME ft = UnixToFileTime(unixSeconds);
  bool ok = ::SetFileTime(h, nullptr, nullptr, &ft) || Fail(false);
  ::CloseHandle(h);
  return ok;
}

String GetCurrentDir() {
  char buf[MAX_PATH * 4];
  DWORD n = ::GetCurrentDirectoryA(sizeof buf, buf);
  return n > 0 && n < sizeof buf ? String(buf, n) : String();
}

bool SetCurrentDir(const String& dir) { return ::SetCurrentDirectoryA(dir.c_str()) || Fail(false); }

String TempDirectory() {
  char buf[MAX_PATH + 1];
  DWORD n = ::GetTempPathA(sizeof buf, buf);
  return IncludeTrailingPathDelimiter(String(buf, n));
}

String CreateTempFile(const String& dir, const String& prefix) {
  char buf[MAX_PATH + 1];
  if (!::GetTempFileNameA(ExcludeTrailingPathDelimiter(dir).c_str(), prefix.c_str(), 0, buf)) return Fail(String());
  return buf;
}

int64_t DiskFree(const String& path) {
  ULARGE_INTEGER avail;
  if (!::GetDiskFreeSpaceExA(path.c_str(), &avail, nullptr, nullptr)) return Fail(int64_t(-1));
  return int64_t(avail.QuadPart);
}

struct DirSearch::Impl {
  HANDLE find = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAA data;
  bool pending = false;
};

DirSearch::DirSearch(const String& pattern) : impl_(new Impl) {
  impl_->find = ::FindFirstFileA(pattern.c_str(), &impl_->data);
  impl_->pending = impl_->find != INVALID_HANDLE_VALUE;
}

DirSearch::~DirSearch() {
  if (impl_->find != INVALID_HANDLE_VALUE) ::FindClose(impl_->find);
  delete impl_;
}

bool DirSearch::Next(TSearchRec& rec) {
  while (impl_->pending) {
    const WIN32_FIND_DATAA& d = impl_->data;
    String name = d.cFileName;
    bool skip = name == "." || name == "..";
    if (!skip) {
      rec.Name = name;
      rec.Attr = d.dwFileAttributes;
      rec.Size = (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                     ? 0
                     : (int64_t(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
      rec.ModTime = FileTimeToUnix(d.ftLastWriteTime);
    }
    impl_->pending = ::FindNextFileA(impl_->find, &impl_->data) != 0;
    if (!skip) return true;
  }
  return false;
}

uint32_t TickCount() { return ::GetTickCount(); }
void SleepMs(uint32_t ms) { ::Sleep(ms); }

int64_t LocalOffsetSeconds(int64_t unixSeconds) {
  FILETIME utc = UnixToFileTime(unixSeconds), local;
  SYSTEMTIME st, lt;
  ::FileTimeToSystemTime(&utc, &st);
  if (!::SystemTimeToTzSpecificLocalTime(nullptr, &st, &lt)) return 0;
  ::SystemTimeToFileTime(&lt, &local);
  return FileTimeToUnix(local) - unixSeconds;
}

void RandomBytes(void* buffer, size_t count) {
  if (!BCRYPT_SUCCESS(::BCryptGenRandom(nullptr, static_cast<PUCHAR>(buffer), ULONG(count),
                                        BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
    throw EOSError("No random source", ::GetLastError());
}

uint32_t CurrentProcessId() { return ::GetCurrentProcessId(); }
uint32_t CurrentThreadId() { return ::GetCurrentThreadId(); }

}  // namespace os
