// Times the table database's codecs against peers in the same run and prints
// the ratios (peer speed / our speed, so 1.0 is level and above 1 is slower):
//   Blowfish-CBC   against `openssl speed -evp bf-cbc`
//   SHA            against `openssl speed sha1` (SHA-0 costs what SHA-1
//                  costs: the schedule rotation is the only difference)
//   CRC-32         against zlib's crc32 on the same buffer
// Targets: within 1.5x of OpenSSL, level with zlib.
//
//   tabledb_codec_bench [SECONDS]   (default 1 per measurement)
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "tabledb/Enc_Blowfish.h"
#include "tabledb/Hash_CheckSum.h"
#include "tabledb/Hash_SHA.h"

namespace {

constexpr size_t kBlock = 16384;  // openssl speed's largest default block

// Bytes per second of running op over kBlock bytes for about `seconds`.
double Throughput(double seconds, const std::function<void()>& op) {
  using Clock = std::chrono::steady_clock;
  op();  // warm up
  int64_t runs = 0;
  const auto start = Clock::now();
  double elapsed = 0;
  do {
    for (int i = 0; i < 64; ++i) op();
    runs += 64;
    elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  } while (elapsed < seconds);
  return double(runs) * kBlock / elapsed;
}

// The 16384-byte figure of `openssl speed`, in bytes per second; 0 when
// openssl is missing or says no.
double OpensslThroughput(const std::string& args, double seconds) {
  std::string cmd = "openssl speed -seconds " + std::to_string(int(seconds + 0.5)) + " -bytes 16384 " + args +
                    " 2>/dev/null";
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return 0;
  char line[512];
  double kilo = 0;
  while (fgets(line, sizeof line, p)) {
    // The result line: the algorithm's name, then "NNNN.NNk".
    char name[64];
    double value;
    if (sscanf(line, "%63s %lfk", name, &value) == 2 && std::string(line).find('k') != std::string::npos)
      kilo = value;
  }
  pclose(p);
  return kilo * 1000;
}

void Report(const char* what, double ours, const char* peer, double theirs, double target) {
  if (theirs <= 0) {
    std::printf("%-14s %9.1f MB/s   %-24s unavailable\n", what, ours / 1e6, peer);
    return;
  }
  double ratio = theirs / ours;
  std::printf("%-14s %9.1f MB/s   %-24s %9.1f MB/s   ratio %.2f (target <= %.2f) %s\n", what, ours / 1e6, peer,
              theirs / 1e6, ratio, target, ratio <= target ? "ok" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = argc > 1 ? std::atof(argv[1]) : 1.0;
  std::vector<uint8_t> data(kBlock);
  for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i * 31 + 7);

  TEnc_Blowfish bf;
  bf.InitKey("benchmark password", nullptr);
  bf.SetMode(ecmCBC);
  double blowfish = Throughput(seconds, [&] { bf.EncodeBuffer(data.data(), data.data(), kBlock); });

  THash_SHA sha;
  double shaSpeed = Throughput(seconds, [&] {
    sha.Init();
    sha.Calc(data.data(), kBlock);
    sha.Done();
  });

  THash_CRC32 crc;
  double crcSpeed = Throughput(seconds, [&] {
    crc.Init();
    crc.Calc(data.data(), kBlock);
    crc.Done();
  });
  volatile uLong sink = 0;
  double zlibCrc = Throughput(seconds, [&] { sink = crc32(0, data.data(), uInt(kBlock)); });

  double opensslBf = OpensslThroughput("-provider legacy -provider default -evp bf-cbc", seconds);
  double opensslSha = OpensslThroughput("sha1", seconds);

  std::printf("16384-byte buffers, %.1f s per measurement; SHA engine: %s\n", seconds,
              ShaEngine() == THashEngine::ProcessorExtensions ? "processor extensions" : "portable");
  Report("Blowfish-CBC", blowfish, "openssl bf-cbc", opensslBf, 1.5);
  Report("SHA", shaSpeed, "openssl sha1", opensslSha, 1.5);
  Report("CRC-32", crcSpeed, "zlib crc32", zlibCrc, 1.0);
  return 0;
}
