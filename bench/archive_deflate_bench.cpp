// Creates a deflate archive (mode 6) of a generated mixed corpus of about
// 230 MB with our archiver and with `zip -6`, in the same run, and prints
// the times and sizes and their ratios. Target: no slower than zip -6 at
// equal size (within 2%).
//
//   archive_deflate_bench [WORK_FOLDER]     (default: ./archive_bench.work)
#include <chrono>
#include <cstring>
#include <functional>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "archive/ZipArchiver.h"

namespace {

void WriteFile(const String& name, const std::string& data) {
  TFileStream f(name, fmCreate);
  f.WriteBuffer(data.data(), int64_t(data.size()));
}

// Text like logs and prose, binary records, random bytes and sparse data,
// in files from a few kilobytes to several megabytes.
int64_t MakeCorpus(const String& root) {
  std::mt19937_64 rng(20211105);
  static const char* kWords[] = {"invoice", "client", "total", "amount", "date",  "the",
                                 "of",      "and",    "payment", "stock", "order", "quantity",
                                 "price",   "tax",    "account", "ledger", "entry", "balance"};
  int64_t total = 0;
  for (int i = 0; i < 120; ++i) {
    const String folder = root + Format("d%d/", {i % 8});
    os::ForceDirectories(folder);
    const size_t size = size_t(1000 + rng() % 1000) * (i % 5 == 0 ? 4000 : i % 3 == 0 ? 300 : 700);
    std::string data;
    data.reserve(size);
    switch (i % 4) {
      case 0:  // log-like text
        while (data.size() < size)
          data += Format("%d-%.2d-%.2d %s %s %d.%.2d\n",
                         {2000 + int(rng() % 24), int(rng() % 12 + 1), int(rng() % 28 + 1),
                          kWords[rng() % 18], kWords[rng() % 18], int(rng() % 100000),
                          int(rng() % 100)});
        break;
      case 1:  // fixed binary records with small variations
        while (data.size() < size) {
          char rec[64] = {};
          const uint64_t id = data.size() / 64, v = rng() % 1000;
          std::memcpy(rec, &id, 8);
          std::memcpy(rec + 8, &v, 8);
          std::snprintf(rec + 16, 40, "%s-%llu", kWords[id % 18], (unsigned long long)(id % 977));
          data.append(rec, sizeof rec);
        }
        break;
      case 2:  // incompressible
        data.resize(size);
        for (char& c : data) c = char(rng());
        break;
      default:  // sparse
        data.assign(size, '\0');
        for (size_t k = 0; k < size; k += 4096 + rng() % 8192) data[k] = char(rng());
        break;
    }
    data.resize(size);
    WriteFile(folder + Format("f%d.dat", {i}), data);
    total += int64_t(size);
  }
  return total;
}

double Seconds(const std::function<void()>& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const String work = IncludeTrailingPathDelimiter(argc > 1 ? argv[1] : "archive_bench.work");
  const String corpus = work + "corpus/";
  int64_t corpusSize = 0;
  if (!os::DirectoryExists(corpus)) {
    std::printf("generating the corpus in %s\n", corpus.c_str());
    corpusSize = MakeCorpus(corpus);
  } else {
    const String du = "du -sb '" + corpus + "' > '" + work + "du.txt'";
    if (std::system(du.c_str()) == 0) {
      TFileStream f(work + "du.txt", fmOpenRead);
      TStringStream s;
      s.CopyFrom(f, 0);
      corpusSize = StrToInt64Def(s.DataString().substr(0, s.DataString().find('\t')), 0);
    }
  }
  const String ours = work + "ours.zip", theirs = work + "zip6.zip";
  const String zipCommand = "cd '" + work + "' && zip -q -6 -r zip6.zip corpus";
  double best[2] = {1e9, 1e9};
  for (int round = 0; round < 3; ++round) {
    os::RemoveFile(ours);
    best[0] = std::min(best[0], Seconds([&] {
      TZipArchiver zip(nullptr);
      zip.SetFileName(ours);
      zip.SetBaseDir(work);
      zip.SetCompressionMode(6);
      zip.Options().SetFlushBuffers(false);
      zip.OpenArchiveFile();
      zip.AddFiles("corpus");
      zip.CloseArchiveFile();
    }));
    os::RemoveFile(theirs);
    best[1] = std::min(best[1], Seconds([&] {
      if (std::system(zipCommand.c_str()) != 0) std::fprintf(stderr, "zip failed\n");
    }));
  }
  const double oursSize = double(os::FileSizeByName(ours));
  const double zipSize = double(os::FileSizeByName(theirs));
  std::printf("corpus        %12.1f MB\n", corpusSize / 1e6);
  std::printf("ours  -m 6    %8.3f s  %12.0f bytes\n", best[0], oursSize);
  std::printf("zip -6        %8.3f s  %12.0f bytes\n", best[1], zipSize);
  std::printf("time ratio (ours / zip -6): %.3f\n", best[0] / best[1]);
  std::printf("size ratio (ours / zip -6): %.4f\n", oursSize / zipSize);
  return 0;
}
