// Times the mini-HTML's layout against its plain tokenizer over the same
// bytes: the splash's six status lines, a 10 KB text of every tag, and
// 1 MB of nested tags and of entities. The measurer is fixed (no fonts), so
// the figures are the renderer's own work. Target: layout within 3x of
// tokenizing; each 1 MB text laid out in under 100 ms.
//
//   mini_html_bench [ROUNDS]   (default 20; the best round counts)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "smooth/LuxMiniHtml.h"

namespace {

using Clock = std::chrono::steady_clock;

class TFixedMeasurer : public TMiniHtmlMeasurer {
 public:
  THtmlSize MeasureRun(std::string_view text, const TMiniHtmlFont& font) override {
    return {int(text.size()) * (font.Size / 2 + 1), font.Size + 4};
  }
  bool ImageSize(const TMiniHtmlImage&, THtmlSize& size) override {
    size = {16, 16};
    return true;
  }
};

struct TCase {
  const char* Name;
  std::vector<std::string> Texts;  // rendered one after the other
};

std::string Repeat(const std::string& piece, size_t bytes) {
  std::string out;
  while (out.size() < bytes) out += piece;
  return out;
}

std::vector<TCase> Cases() {
  const char* status[] = {
      "<IMG src=\"system\"><FONT size=\"16\" color=\"#A45302\">V\xE9rification de syst\xE8me...</FONT><br>",
      "<IMG src=\"package\"><FONT size=\"16\" color=\"#A45302\">V\xE9rification de package...</FONT><br>",
      "<IMG src=\"register\"><FONT size=\"16\" color=\"#A45302\">V\xE9rification de registre...</FONT><br>",
      "<IMG src=\"folders\"><FONT size=\"16\" color=\"#A45302\">Pr\xE9paration de r\xE9pertoires...</FONT><br>",
      "<IMG src=\"files\"><FONT size=\"16\" color=\"#A45302\">Pr\xE9paration de fichiers...</FONT><br>",
      "<FONT size=\"16\" color=\"#A45302\">D\xE9marrage de l'assistant...</FONT>"};
  const std::string mixed = Repeat(
      "<P align=\"LEFT\">Lorem <B>ipsum</B> dolor <I>sit</I> amet, <FONT face=\"Arial\" size=\"3\" "
      "color=\"#336699\">consectetur</FONT> adipiscing &amp; elit &lt;sed&gt; do <A href=\"more\">eiusmod "
      "tempor</A> incididunt<BR><UL><LI>ut labore</LI><LI type=\"SQUARE\">et dolore</LI></UL>"
      "<IMG src=\"files\"> magna aliqua.</P>\r\n",
      10 * 1024);
  return {
      {"status lines (6)", std::vector<std::string>(std::begin(status), std::end(status))},
      {"10 KB text", {mixed}},
      {"1 MB nested tags", {Repeat("<B><I><U><FONT size=\"3\">", 1 << 20)}},
      {"1 MB entities", {Repeat("&amp;&lt;&gt;&nbsp;&euro;", 1 << 20)}},
  };
}

double Best(int rounds, auto&& work) {
  double best = 1e30;
  for (int r = 0; r < rounds; ++r) {
    const auto start = Clock::now();
    work();
    best = std::min(best, std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  TFixedMeasurer measurer;
  TMiniHtmlParams params;
  params.Font = {"Tahoma", 8, 0, 0};
  params.LineSpacing = 2;
  params.Rect = {0, 0, 500, 1 << 30};
  size_t checksum = 0;
  bool met = true;
  std::printf("%-18s %8s %14s %14s %6s\n", "text", "bytes", "tokenize us", "layout us", "ratio");
  for (const TCase& c : Cases()) {
    size_t bytes = 0;
    for (const std::string& t : c.Texts) bytes += t.size();
    const double tokenize = Best(rounds, [&] {
      for (const std::string& t : c.Texts) checksum += TokenizeMiniHtml(t, true).size();
    });
    const double layout = Best(rounds, [&] {
      for (const std::string& t : c.Texts) checksum += size_t(LayoutMiniHtml(t, params, measurer).Height);
    });
    const double ratio = layout / std::max(tokenize, 1e-3);
    std::printf("%-18s %8zu %14.1f %14.1f %6.2f\n", c.Name, bytes, tokenize, layout, ratio);
    met = met && ratio <= 3.0 && (bytes < (1u << 20) || layout < 100000);
  }
  std::printf("target (layout <= 3x tokenize, 1 MB < 100 ms): %s (checksum %zu)\n", met ? "met" : "MISSED", checksum);
  return 0;
}
