// The multi-line text layout against the platform's DrawTextW: a paragraph
// of prose laid out and drawn into a 300-pixel-wide rectangle of a memory
// bitmap, word-wrapped, with the same text and font on both sides. Prints
// milliseconds per paragraph, the ratio (ours / DrawTextW; the target is at
// most 1.5), and the time of a ten times longer paragraph against the
// short one (the target is at most 11).
//   draw_text_bench.exe [ROUNDS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "foundation/vxDrawTextUtils.h"
#include "platform/ui/Graphics.h"

namespace {

// Prose of the given length from a fixed vocabulary, with a sentence end
// every few words, the same on every run.
std::u16string Paragraph(size_t length) {
  static const char16_t* const kWords[] = {
      u"the",       u"installer", u"copies",   u"every",      u"file",    u"of",       u"package",
      u"into",      u"folder",    u"chosen",   u"on",         u"page",    u"and",      u"writes",
      u"shortcuts", u"for",       u"program",  u"settings",   u"are",     u"kept",     u"in",
      u"registry",  u"under",     u"company",  u"name",       u"a",       u"progress", u"bar",
      u"shows",     u"how",       u"far",      u"extraction", u"has",     u"come",     u"while",
      u"database",  u"receives",  u"licence",  u"details",    u"entered", u"by",       u"user"};
  std::u16string text;
  unsigned seed = 12345;
  int inSentence = 0;
  while (text.size() < length) {
    seed = seed * 1103515245u + 12345u;
    std::u16string word = kWords[(seed >> 16) % (sizeof kWords / sizeof *kWords)];
    if (inSentence == 0) word[0] = char16_t(word[0] - u'a' + u'A');
    text += word;
    if (++inSentence >= 7 + int((seed >> 8) % 6)) {
      text += u'.';
      inSentence = 0;
    }
    text += u' ';
  }
  text.resize(length);
  return text;
}

double Milliseconds(int rounds, const std::function<void()>& work) {
  work();  // warm-up: glyph caches, the row storage
  LARGE_INTEGER frequency, start, stop;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < rounds; ++i) work();
  QueryPerformanceCounter(&stop);
  return double(stop.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart) / rounds;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(300, 4000);
  TFont font;
  font.SetName("Tahoma");
  font.SetHeight(-11);
  bitmap.Canvas()->Font()->Assign(&font);
  HDC dc = bitmap.Canvas()->Handle();
  SetBkMode(dc, TRANSPARENT);

  auto ours = [&](const std::u16string& text) {
    TRect rect(0, 0, 300, 4000);
    vxPaintMultilineText(dc, text, rect, vxtlWordWrap, 0, 0, &font, clNone, clNone, 0, 0, 0, clDefault, 1.0f);
  };
  auto platform = [&](const std::u16string& text) {
    RECT rect{0, 0, 300, 4000};
    DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.data()), int(text.size()), &rect, DT_WORDBREAK);
  };

  const std::u16string shortText = Paragraph(1000), longText = Paragraph(10000);
  const double oursShort = Milliseconds(rounds, [&] { ours(shortText); });
  const double drawShort = Milliseconds(rounds, [&] { platform(shortText); });
  const double oursLong = Milliseconds(std::max(1, rounds / 10), [&] { ours(longText); });
  const double drawLong = Milliseconds(std::max(1, rounds / 10), [&] { platform(longText); });

  std::printf("1000 characters, 300 pixels: ours %.3f ms, DrawTextW %.3f ms, ratio %.2f (target <= 1.5)\n",
              oursShort, drawShort, oursShort / drawShort);
  std::printf("10000 characters: ours %.3f ms (%.2fx the short text, target <= 11), DrawTextW %.3f ms (%.2fx)\n",
              oursLong, oursLong / oursShort, drawLong, drawLong / drawShort);
  return 0;
}
