// The generated corpora of the archive benchmarks: a mixed tree of 7,908
// files (about 225 MB of text, binary records, random and sparse data, from
// a kilobyte to a megabyte), 20,000 small texts (about 40 MB), and a
// stopwatch.
#pragma once

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>

#include "archive/ZipArchiver.h"

namespace archive_bench {

inline void WriteFile(const String& name, const std::string& data) {
  TFileStream f(name, fmCreate);
  f.WriteBuffer(data.data(), int64_t(data.size()));
}

// Data of one of four kinds: log-like text, binary records with small
// variations, random bytes, sparse data.
inline std::string MakeData(std::mt19937_64& rng, int kind, size_t size) {
  static const char* kWords[] = {"invoice", "client", "total", "amount", "date",  "the",
                                 "of",      "and",    "payment", "stock", "order", "quantity",
                                 "price",   "tax",    "account", "ledger", "entry", "balance"};
  std::string data;
  data.reserve(size + 64);
  switch (kind % 4) {
    case 0:
      while (data.size() < size)
        data += Format("%d-%.2d-%.2d %s %s %d.%.2d\n",
                       {2000 + int(rng() % 24), int(rng() % 12 + 1), int(rng() % 28 + 1),
                        kWords[rng() % 18], kWords[rng() % 18], int(rng() % 100000),
                        int(rng() % 100)});
      break;
    case 1:
      while (data.size() < size) {
        char rec[64] = {};
        const uint64_t id = data.size() / 64, v = rng() % 1000;
        std::memcpy(rec, &id, 8);
        std::memcpy(rec + 8, &v, 8);
        std::snprintf(rec + 16, 40, "%s-%llu", kWords[id % 18], (unsigned long long)(id % 977));
        data.append(rec, sizeof rec);
      }
      break;
    case 2:
      data.resize(size);
      for (char& c : data) c = char(rng());
      break;
    default:
      data.assign(size, '\0');
      for (size_t k = 0; k < size; k += 4096 + rng() % 8192) data[k] = char(rng());
      break;
  }
  data.resize(size);
  return data;
}

// A mixed tree like an application's files: 7,908 files, about 225 MB, in
// 200 folders. Most are small (1 to 15 KB), 874 are 20 to 300 KB and 40 are
// 0.5 to 1.1 MB; text, records, random and sparse data in turn.
inline int64_t MakeCorpus(const String& root) {
  std::mt19937_64 rng(20211105);
  int64_t total = 0;
  for (int i = 0; i < 7908; ++i) {
    const String folder = root + Format("d%d/", {i % 200});
    if (i < 200) os::ForceDirectories(folder);
    const size_t size = i % 200 == 7 ? size_t(500000 + rng() % 600000)
                        : i % 9 == 4  ? size_t(20000 + rng() % 280000)
                                      : size_t(1000 + rng() % 14000);
    WriteFile(folder + Format("f%d.dat", {i}), MakeData(rng, i, size));
    total += int64_t(size);
  }
  return total;
}

// Many small files: 20,000 texts of 1 to 3 KB in 100 folders (about 40 MB),
// like a source tree or a mail folder.
inline int64_t MakeSmallCorpus(const String& root) {
  std::mt19937_64 rng(20211106);
  int64_t total = 0;
  for (int i = 0; i < 20000; ++i) {
    const String folder = root + Format("s%d/", {i % 100});
    if (i < 100) os::ForceDirectories(folder);
    const size_t size = 1000 + rng() % 2000;
    std::string data;
    while (data.size() < size)
      data += Format("%d line %d of file %d, value %d\n", {int(rng() % 1000), int(data.size()), i,
                                                          int(rng() % 100000)});
    data.resize(size);
    WriteFile(folder + Format("f%d.txt", {i}), data);
    total += int64_t(size);
  }
  return total;
}

inline double Seconds(const std::function<void()>& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace archive_bench
