// The generated corpus of the archive benchmarks: a mixed tree of about
// 230 MB (text, binary records, random and sparse data, in files from a few
// kilobytes to several megabytes), and a stopwatch.
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

// Text like logs and prose, binary records, random bytes and sparse data,
// in files from a few kilobytes to several megabytes.
inline int64_t MakeCorpus(const String& root) {
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
