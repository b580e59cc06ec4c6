// Times the table database's codecs against peers in the same run and prints
// the ratios (peer speed / our speed, so 1.0 is level and above 1 is slower):
//   Blowfish-CBC   against `openssl speed -evp bf-cbc`
//   Twofish-CBC    against `openssl speed -evp aes-128-cbc` (OpenSSL has no
//                  Twofish: the nearest 128-bit block cipher it has)
//   GOST-CBC       against `openssl speed -evp des-ede3-cbc` (no GOST in
//                  OpenSSL's default providers: the nearest 64-bit block
//                  cipher of many rounds)
//   Blowfish-CFB8, -OFB8  against `openssl speed -evp aes-128-cfb8` (one
//                  block encryption per byte on both sides; OpenSSL has
//                  no Blowfish CFB8 and no OFB8 at all)
//   ZLIB           the compression module against zlib's compress2 at the
//                  same level on the same text-like buffer
//   SHA            against `openssl speed sha1` (SHA-0 costs what SHA-1
//                  costs: the schedule rotation is the only difference)
//   CRC-32         against zlib's crc32 on the same buffer
// Targets: within 1.5x of OpenSSL on the algorithms it has, level with
// zlib; the other peers are references.
//
//   tabledb_codec_bench [SECONDS]   (default 1 per measurement)
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "tabledb/Compress_Zlib.h"
#include "tabledb/Enc_Blowfish.h"
#include "tabledb/Enc_Gost.h"
#include "tabledb/Enc_Twofish.h"
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
  if (target <= 0) {  // a peer of another algorithm: a reference, no target
    std::printf("%-14s %9.1f MB/s   %-24s %9.1f MB/s   ratio %.2f (reference)\n", what, ours / 1e6, peer,
                theirs / 1e6, ratio);
    return;
  }
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

  // One cipher of ours in one mode over the buffer.
  auto cipherSpeed = [&](TEncrypt& cipher, uint8_t mode) {
    cipher.InitKey("benchmark password", nullptr);
    cipher.SetMode(mode);
    return Throughput(seconds, [&] { cipher.EncodeBuffer(data.data(), data.data(), kBlock); });
  };
  TEnc_Twofish twofish;
  TEnc_Gost gost;
  TEnc_Blowfish bf8;
  const double twofishSpeed = cipherSpeed(twofish, ecmCBC);
  const double gostSpeed = cipherSpeed(gost, ecmCBC);
  const double cfb8Speed = cipherSpeed(bf8, ecmCFB8);
  const double ofb8Speed = cipherSpeed(bf8, ecmOFB8);

  // Text-like bytes that deflate well, as field values do.
  std::vector<uint8_t> text(kBlock);
  for (size_t i = 0; i < text.size(); ++i) text[i] = uint8_t("name value row field "[(i * 7 + i / 97) % 21]);
  TCompAlgo_Zlib zlibModule(nullptr);
  TMemoryStream plain, packed;
  plain.WriteBuffer(text.data(), int64_t(text.size()));
  const double moduleSpeed = Throughput(seconds, [&] {
    plain.SetPosition(0);
    zlibModule.EncodeStream(&plain, &packed, -1);
  });
  std::vector<uint8_t> out(compressBound(uLong(kBlock)));
  const double zlibSpeed = Throughput(seconds, [&] {
    uLongf n = uLongf(out.size());
    compress2(out.data(), &n, text.data(), uLong(kBlock), Z_DEFAULT_COMPRESSION);
  });

  double opensslBf = OpensslThroughput("-provider legacy -provider default -evp bf-cbc", seconds);
  double opensslSha = OpensslThroughput("sha1", seconds);
  double opensslAes = OpensslThroughput("-evp aes-128-cbc", seconds);
  double openssl3Des = OpensslThroughput("-evp des-ede3-cbc", seconds);
  double opensslCfb8 = OpensslThroughput("-evp aes-128-cfb8", seconds);

  std::printf("16384-byte buffers, %.1f s per measurement; SHA engine: %s\n", seconds,
              ShaEngine() == THashEngine::ProcessorExtensions ? "processor extensions" : "portable");
  Report("Blowfish-CBC", blowfish, "openssl bf-cbc", opensslBf, 1.5);
  Report("SHA", shaSpeed, "openssl sha1", opensslSha, 1.5);
  Report("CRC-32", crcSpeed, "zlib crc32", zlibCrc, 1.0);
  // OpenSSL has none of these: its nearest ciphers are references only
  // (AES runs on the processor's own instructions).
  Report("Twofish-CBC", twofishSpeed, "openssl aes-128-cbc", opensslAes, 0);
  Report("GOST-CBC", gostSpeed, "openssl des-ede3-cbc", openssl3Des, 0);
  Report("Blowfish-CFB8", cfb8Speed, "openssl aes-128-cfb8", opensslCfb8, 0);
  Report("Blowfish-OFB8", ofb8Speed, "openssl aes-128-cfb8", opensslCfb8, 0);
  Report("ZLIB", moduleSpeed, "zlib compress2", zlibSpeed, 1.1);
  return 0;
}
