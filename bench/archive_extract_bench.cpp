// Extracts ZipCrypto-encrypted archives (made by `zip -6 -P`) of two
// generated corpora, a mixed tree of 7,908 files (about 225 MB) and 20,000
// small ones (about 40 MB), with our archiver (in this process, and as the
// whole `zatool x` process), with `unzip -P` and with `7z x`, in the same run;
// for the mixed tree also against the raw floor: zlib inflate and crc32 of
// the same entries in memory. Prints the best of three rounds, the ratios
// and the peak memory of zatool and unzip. Targets: at least 1.5x faster
// than unzip -P and faster than 7z x on both, never slower with more
// processors, peak under 64 MiB.
//
//   archive_extract_bench ZATOOL [WORK_FOLDER]  (default: ./archive_bench.work)
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "archive_bench_corpus.h"
#include "platform/Lists.h"
#include "platform/Threads.h"

using namespace archive_bench;

namespace {

const char* const kPassword = "bench-pw";

void Run(const String& command) {
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
}

// The compressed data of each entry, read and decrypted beforehand.
struct Entry {
  std::vector<uint8_t> data;
  uint32_t crc = 0;
  uint64_t size = 0;
  bool deflated = false;
};

std::vector<Entry> LoadEntries(const String& archive, double& decryptSeconds) {
  std::vector<Entry> entries;
  TZipArchiver zip(nullptr);
  zip.SetFileName(archive);
  zip.OpenArchiveMode(ZAModeReadOnly);
  TFileStream file(archive, fmOpenRead | fmShareDenyNone);
  for (int i = 0; i < zip.FileCount(); ++i) {
    const TDirItem& item = zip.DirItem(i);
    if (item.IsFolder()) continue;
    uint8_t buf[TZALocalHeader::Size];
    ZAReadAt(file, int64_t(item.LocalHeaderOffset), buf, sizeof buf);
    TZALocalHeader local;
    local.Read(buf);
    Entry e;
    e.data.resize(size_t(item.CompressedSize));
    ZAReadAt(file, int64_t(item.LocalHeaderOffset + sizeof buf + local.NameLength + local.ExtraLength),
             e.data.data(), int64_t(e.data.size()));
    e.crc = item.Header.Crc;
    e.size = item.UncompressedSize;
    e.deflated = item.Header.Method == 8;
    entries.push_back(std::move(e));
  }
  decryptSeconds = Seconds([&] {
    for (Entry& e : entries) {
      TZAKeys keys;
      InitKeys(keys, kPassword);
      DecryptBuffer(e.data.data(), e.data.size(), keys);
      e.data.erase(e.data.begin(), e.data.begin() + ZAEncryptionHeaderSize);
    }
  });
  return entries;
}

// zlib inflate (a copy for stored entries) and crc32 of every entry,
// output in 256 KiB pieces.
void InflateAll(const std::vector<Entry>& entries) {
  std::vector<uint8_t> out(256 * 1024);
  for (const Entry& e : entries) {
    if (!e.deflated) {
      uLong crc = crc32(0, nullptr, 0);
      for (size_t at = 0; at < e.data.size(); at += out.size()) {
        const size_t n = std::min(out.size(), e.data.size() - at);
        std::memcpy(out.data(), e.data.data() + at, n);
        crc = crc32(crc, out.data(), uInt(n));
      }
      if (crc != e.crc || e.data.size() != e.size) std::fprintf(stderr, "floor: bad entry\n");
      continue;
    }
    z_stream zs{};
    inflateInit2(&zs, -MAX_WBITS);
    zs.next_in = const_cast<Bytef*>(e.data.data());
    zs.avail_in = uInt(e.data.size());
    uLong crc = crc32(0, nullptr, 0);
    uint64_t total = 0;
    int rc;
    do {
      zs.next_out = out.data();
      zs.avail_out = uInt(out.size());
      rc = inflate(&zs, Z_NO_FLUSH);
      const size_t n = out.size() - zs.avail_out;
      crc = crc32(crc, out.data(), uInt(n));
      total += n;
    } while (rc == Z_OK);
    inflateEnd(&zs);
    if (crc != e.crc || total != e.size) std::fprintf(stderr, "floor: bad entry\n");
  }
}

// Peak resident memory, in MiB, of a command run under /usr/bin/time.
double PeakMiB(const String& command, const String& work) {
  const String report = work + "peak.txt";
  Run("/usr/bin/time -f %M -o " + report + " " + command);
  TStringList lines;
  lines.LoadFromFile(report);
  return lines.Count() > 0 ? StrToIntDef(lines[lines.Count() - 1], 0) / 1024.0 : 0;
}

// Extracts one archive with each tool, best of three rounds, and prints the
// times, ratios and peak memory.
void Compare(const char* title, const String& work, const String& archive, const String& zatool,
             bool withFloor) {
  const String ours = work + "x-ours", zt = work + "x-zatool", unzip = work + "x-unzip",
               sevenZip = work + "x-7z";
  double decryptSeconds = 0;
  std::vector<Entry> entries = LoadEntries(archive, decryptSeconds);
  uint64_t plain = 0;
  for (const Entry& e : entries) plain += e.size;
  const String zatoolCommand = "'" + zatool + "' x -p " + kPassword + " -d '" + zt + "' '" + archive + "'";
  const String unzipCommand = String("unzip -q -o -P ") + kPassword + " '" + archive + "' -d '" + unzip + "'";
  const String sevenCommand = String("7z x -bd -y -p") + kPassword + " '-o" + sevenZip + "' '" + archive + "' > /dev/null";

  enum { kOurs, kZatool, kUnzip, k7z, kFloor, kCount };
  double best[kCount] = {1e9, 1e9, 1e9, 1e9, 1e9};
  // Every round extracts into new folders, all removed at the end: on a
  // file system without a journal, new files skip the inodes freed in the
  // last seconds, one by one, so a tool run just after a large removal pays
  // for it and the order of the tools would decide the figures.
  Run("rm -rf '" + work + "old'");
  auto setAside = [&](const String& folder) {
    static int n = 0;
    Run("mkdir -p '" + work + "old' && if [ -e '" + folder + "' ]; then mv '" + folder + "' '" + work +
        "old/" + IntToStr(++n) + "'; fi");
  };
  for (int round = 0; round < 3; ++round) {
    for (const String& folder : {ours, zt, unzip, sevenZip}) setAside(folder);
    best[kOurs] = std::min(best[kOurs], Seconds([&] {
      TZipArchiver zip(nullptr);
      zip.SetFileName(archive);
      zip.SetPassword(kPassword);
      zip.SetBaseDir(ours);
      zip.OpenArchiveFile();
      zip.ExtractFilesByMask("*.*");
      zip.CloseArchiveFile();
    }));
    best[kZatool] = std::min(best[kZatool], Seconds([&] { Run(zatoolCommand); }));
    best[kUnzip] = std::min(best[kUnzip], Seconds([&] { Run(unzipCommand); }));
    best[k7z] = std::min(best[k7z], Seconds([&] { Run(sevenCommand); }));
    if (withFloor) best[kFloor] = std::min(best[kFloor], Seconds([&] { InflateAll(entries); }));
  }
  for (const String& folder : {zt, unzip}) setAside(folder);
  const double peakZatool = PeakMiB(zatoolCommand, work), peakUnzip = PeakMiB(unzipCommand, work);
  Run("rm -rf '" + work + "old' '" + ours + "' '" + zt + "' '" + unzip + "' '" + sevenZip + "'");
  std::printf("== %s: %.1f MB archive, %zu entries, %.1f MB of data, %d processors\n", title,
              double(os::FileSizeByName(archive)) / 1e6, entries.size(), double(plain) / 1e6,
              ProcessorCount());
  std::printf("ours (in process) %8.3f s\n", best[kOurs]);
  std::printf("zatool x          %8.3f s  peak %.1f MiB\n", best[kZatool], peakZatool);
  std::printf("unzip -P          %8.3f s  peak %.1f MiB\n", best[kUnzip], peakUnzip);
  std::printf("7z x              %8.3f s\n", best[k7z]);
  std::printf("speed-up over unzip -P (unzip / zatool): %.3f\n", best[kUnzip] / best[kZatool]);
  std::printf("speed-up over 7z x (7z / zatool):        %.3f\n", best[k7z] / best[kZatool]);
  if (withFloor) {
    std::printf("raw floor         %8.3f s  (inflate + crc32 in memory; decryption alone: %.3f s)\n",
                best[kFloor], decryptSeconds);
    std::printf("ours / (raw floor + decryption):         %.3f\n",
                best[kOurs] / (best[kFloor] + decryptSeconds));
  }
}

// The corpus made by make in folder name of work, and its archive.
String Prepare(const String& work, const char* name, int64_t (*make)(const String&)) {
  const String corpus = work + name + "/";
  if (!os::DirectoryExists(corpus)) {
    std::printf("generating the corpus in %s\n", corpus.c_str());
    make(corpus);
  }
  const String archive = work + name + ".zip";
  if (!os::FileExists(archive))
    Run("cd '" + work + "' && zip -q -6 -r -P " + kPassword + " " + name + ".zip " + name);
  return archive;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: archive_extract_bench ZATOOL [WORK_FOLDER]\n");
    return 2;
  }
  const String zatool = argv[1];
  const String work = IncludeTrailingPathDelimiter(argc > 2 ? argv[2] : "archive_bench.work");
  os::ForceDirectories(work);
  Compare("mixed tree", work, Prepare(work, "mixed", MakeCorpus), zatool, true);
  Compare("small files", work, Prepare(work, "small", MakeSmallCorpus), zatool, false);
  return 0;
}
