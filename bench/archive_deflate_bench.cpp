// Creates a deflate archive (mode 6) of the generated mixed tree (7,908
// files, about 225 MB) with our archiver and with `zip -6`, in the same run, and prints
// the times and sizes and their ratios. Target: no slower than zip -6 at
// equal size (within 2%).
//
//   archive_deflate_bench [WORK_FOLDER]     (default: ./archive_bench.work)
#include <cstdlib>

#include "archive_bench_corpus.h"

using namespace archive_bench;

int main(int argc, char** argv) {
  const String work = IncludeTrailingPathDelimiter(argc > 1 ? argv[1] : "archive_bench.work");
  const String corpus = work + "mixed/";
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
  const String zipCommand = "cd '" + work + "' && zip -q -6 -r zip6.zip mixed";
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
      zip.AddFiles("mixed");
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
