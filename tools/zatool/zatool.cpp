// zatool: a command-line front end over the archiver component, for tests,
// interoperability checks and benchmarks.
//
//   zatool l [-r] ARCHIVE
//   zatool t [-r] [-p PASSWORD] ARCHIVE
//   zatool x [-r] [-p PASSWORD] -d DIR ARCHIVE [MASK]
//   zatool a [-p PASSWORD] [-m 0-9] [-v SIZE] ARCHIVE FILE...
//   zatool d ARCHIVE NAME...
//
// -r rebuilds the directory of an archive whose end records are lost from
// its local headers; entries that were cut still fail.
// -v writes a split set of SIZE-byte volumes named ARCHIVE.Z01, .Z02, ...
// and ARCHIVE last.
//
// Exit status 0 on success; otherwise the archiver's message on stderr and
// status 1 (2 for a wrong command line).
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "archive/ZipArchiver.h"

namespace {

// Counts what it is given and keeps nothing: the target of a test.
class TNullStream : public TStream {
 public:
  int64_t Read(void*, int64_t) override { return 0; }
  int64_t Write(const void*, int64_t count) override {
    size_ += count;
    return count;
  }
  int64_t Seek(int64_t, TSeekOrigin) override { return size_; }

 private:
  int64_t size_ = 0;
};

struct CommandLine {
  String command;
  String password;
  String dir;
  int mode = -1;
  int64_t volumeSize = 0;
  bool recover = false;
  std::vector<String> operands;
};

const char* const kUsage =
    "usage: zatool COMMAND [OPTIONS] ARCHIVE [OPERANDS]\n"
    "  zatool l [-r] ARCHIVE                          list the entries\n"
    "  zatool t [-r] [-p PASSWORD] ARCHIVE            test every entry\n"
    "  zatool x [-r] [-p PASSWORD] -d DIR ARCHIVE [MASK]  extract below DIR\n"
    "  zatool a [-p PASSWORD] [-m 0-9] [-v SIZE] ARCHIVE FILE...  add files and folders\n"
    "  zatool d ARCHIVE NAME...                       delete entries\n"
    "  zatool --help                                  this text\n"
    "options: -r read an archive whose end records are lost; -p password;\n"
    "         -m compression level; -v split into SIZE-byte volumes; -d target folder\n";

int Usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

// A wrong command line says what was wrong, then how it is used.
bool Wrong(const char* what, const String& arg) {
  std::fprintf(stderr, "zatool: %s: %s\n", what, arg.c_str());
  return false;
}

bool Parse(int argc, char** argv, CommandLine& cl) {
  if (argc < 2) return false;
  cl.command = argv[1];
  bool optionsEnd = false;
  for (int i = 2; i < argc; ++i) {
    const String arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (optionsEnd || arg.size() < 2 || arg[0] != '-') {
      cl.operands.push_back(arg);
    } else if (arg == "--") {
      optionsEnd = true;
    } else if (arg == "-r") {
      cl.recover = true;
    } else if (arg == "-p" || arg == "-d" || arg == "-v" || arg == "-m") {
      if (!hasValue) return Wrong("option needs a value", arg);
      const String value = argv[++i];
      if (arg == "-p") {
        cl.password = value;
      } else if (arg == "-d") {
        cl.dir = value;
      } else if (arg == "-v") {
        cl.volumeSize = std::atoll(value.c_str());
        if (cl.volumeSize <= 0) return Wrong("bad volume size", value);
      } else {
        if (value.size() != 1 || value[0] < '0' || value[0] > '9')
          return Wrong("compression level must be 0-9", value);
        cl.mode = value[0] - '0';
      }
    } else {
      return Wrong("unknown option", arg);
    }
  }
  if (cl.operands.empty()) return Wrong("no archive named", cl.command);
  return true;
}

String MethodName(const TDirItem& item) {
  switch (item.Header.Method) {
    case 0: return "Stored";
    case 8: return "Deflated";
    default: return Format("Method%d", {int(item.Header.Method)});
  }
}

String DosTimeText(const TDirItem& item) {
  const uint16_t d = item.Header.Date, t = item.Header.Time;
  return Format("%.4d-%.2d-%.2d %.2d:%.2d:%.2d", {1980 + (d >> 9), (d >> 5) & 15, d & 31, t >> 11,
                                                  (t >> 5) & 63, (t & 31) * 2});
}

int List(TZipArchiver& zip) {
  zip.OpenArchiveMode(ZAModeReadOnly);
  for (int i = 0; i < zip.FileCount(); ++i) {
    const TDirItem& item = zip.DirItem(i);
    std::printf("%12llu %12llu %08X %-9s %c %s %08X %s\n",
                (unsigned long long)item.UncompressedSize, (unsigned long long)item.CompressedSize,
                item.Header.Crc, MethodName(item).c_str(), item.IsEncrypted() ? 'E' : '-',
                DosTimeText(item).c_str(), item.Header.ExternalAttributes, item.Name.c_str());
  }
  return 0;
}

int Test(TZipArchiver& zip) {
  zip.OpenArchiveMode(ZAModeReadOnly);
  int failures = 0, files = 0;
  for (int i = 0; i < zip.FileCount(); ++i) {
    const TDirItem& item = zip.DirItem(i);
    if (item.IsFolder()) continue;
    ++files;
    TNullStream sink;
    try {
      if (!zip.ExtractItemToStream(i, sink)) {
        std::fprintf(stderr, "%s: wrong password\n", item.Name.c_str());
        ++failures;
      }
    } catch (const EZAException& e) {
      std::fprintf(stderr, "%s: %s\n", item.Name.c_str(), e.Message().c_str());
      ++failures;
    }
  }
  std::printf("%d entries tested, %d failed\n", files, failures);
  return failures == 0 ? 0 : 1;
}

// Extracts everything that MASK (default "*.*") names below DIR. Each entry
// that fails is reported and left out; the run then fails as a whole.
int Extract(TZipArchiver& zip, const CommandLine& cl) {
  if (cl.dir.empty() || cl.operands.size() > 2) return Usage();
  zip.SetBaseDir(cl.dir);
  zip.OnPassword = [](TObject*, const String& fileName, String&, bool& skipFile) {
    std::fprintf(stderr, "%s: wrong password\n", fileName.c_str());
    skipFile = true;
  };
  zip.OnProcessFileFailure = [](TObject*, const String& fileName, TZAProcessOperation, int, int,
                                const String& message, TZAAction& action) {
    std::fprintf(stderr, "%s: %s\n", fileName.c_str(), message.c_str());
    action = fxaIgnore;
  };
  zip.OpenArchiveMode(ZAModeReadOnly);
  const String mask = cl.operands.size() == 2 ? cl.operands[1] : String("*.*");
  TZAArchiveItem found;
  if (zip.FileCount() > 0 && !zip.FindFirstItem(mask, found)) {
    std::fprintf(stderr, "%s: no entry matches\n", mask.c_str());
    return 1;
  }
  zip.ExtractFilesByMask(mask);
  return 0;
}

// Entries new or changed since the archive was opened.
int QueuedCount(TZipArchiver& zip) {
  int n = 0;
  for (int i = 0; i < zip.FileCount(); ++i) n += zip.DirItem(i).Modified;
  return n;
}

int Add(TZipArchiver& zip, const CommandLine& cl) {
  if (cl.operands.size() < 2) return Usage();
  if (cl.mode >= 0) zip.SetCompressionMode(cl.mode);
  if (cl.volumeSize > 0) {
    zip.SetSpanningMode(smSplitting);
    zip.SpanningOptions().SetAdvancedNaming(false);
    zip.SpanningOptions().SetVolumeSize(vsCustom);
    zip.SpanningOptions().SetCustomVolumeSize(cl.volumeSize);
  }
  String failure;
  zip.OnProcessFileFailure = [&](TObject*, const String& fileName, TZAProcessOperation, int, int,
                                 const String& message, TZAAction& action) {
    failure = message;
    action = fxaAbort;
  };
  // A new archive that does not come about leaves nothing behind, and a
  // failed add leaves an old one as it was.
  const bool existed = os::FileExists(cl.operands[0]);
  auto fail = [&](const String& message) {
    zip.CancelUpdateMode();
    zip.CloseArchiveFile();
    if (!existed) os::RemoveFile(cl.operands[0]);
    std::fprintf(stderr, "%s\n", message.c_str());
    return 1;
  };
  zip.OpenArchiveFile();
  try {
    for (size_t i = 1; i < cl.operands.size(); ++i) {
      const int queued = QueuedCount(zip);
      zip.AddFiles(cl.operands[i]);
      if (QueuedCount(zip) == queued) return fail(cl.operands[i] + ": no file matches");
    }
    zip.CloseArchiveFile();
  } catch (const Exception& e) {
    return fail(e.Message());
  }
  if (failure.empty()) return 0;
  if (!existed) os::RemoveFile(cl.operands[0]);
  std::fprintf(stderr, "%s\n", failure.c_str());
  return 1;
}

// Deletes the entries named NAME... ("/" separators); a name that is not in
// the archive fails the run and changes nothing.
int Delete(TZipArchiver& zip, const CommandLine& cl) {
  if (cl.operands.size() < 2) return Usage();
  zip.OpenArchiveFile();
  zip.BeginUpdate();
  for (size_t i = 1; i < cl.operands.size(); ++i) {
    int index = -1;
    for (int e = 0; e < zip.FileCount() && index < 0; ++e)
      if (zip.DirItem(e).Name == cl.operands[i]) index = e;
    if (index < 0) {
      zip.CancelUpdateMode();
      std::fprintf(stderr, "%s: not in the archive\n", cl.operands[i].c_str());
      return 1;
    }
    zip.DeleteItemAt(index);
  }
  zip.CloseArchiveFile();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (String(argv[1]) == "--help" || String(argv[1]) == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  CommandLine cl;
  if (!Parse(argc, argv, cl)) return Usage();
  TZipArchiver zip(nullptr);
  // Zip64 records where the archive needs them, as other zip tools write.
  zip.SetZip64Mode(zmAuto);
  zip.SetFileName(cl.operands[0]);
  zip.SetPassword(cl.password);
  zip.SetRecoverDamagedArchives(cl.recover);
  try {
    if (cl.command == "l") return List(zip);
    if (cl.command == "t") return Test(zip);
    if (cl.command == "x") return Extract(zip, cl);
    if (cl.command == "a") return Add(zip, cl);
    if (cl.command == "d") return Delete(zip, cl);
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", e.Message().c_str());
    return 1;
  }
  return Usage();
}
