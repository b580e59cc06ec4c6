// The mini-HTML's tokenizer and layout on arbitrary text. The first byte
// picks word wrap, measuring alone and the width. Besides crashes, the
// target traps when the layout asks for more measurements than a fixed
// multiple of the text's length: work beyond linear.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "smooth/LuxMiniHtml.h"

namespace {

class TCountingMeasurer : public TMiniHtmlMeasurer {
 public:
  THtmlSize MeasureRun(std::string_view text, const TMiniHtmlFont& font) override {
    ++calls;
    return {int(text.size()) * (font.Size / 2 + 1), font.Size + 4};
  }
  bool ImageSize(const TMiniHtmlImage& image, THtmlSize& size) override {
    ++calls;
    if (image.Kind == TMiniHtmlImage::Picture && image.Source.size() > 3) return false;
    size = {int(image.Source.size()) * 20 + image.Index % 64, 16};
    return true;
  }
  size_t calls = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t flags = data[0];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  TMiniHtmlParams params;
  params.Font = {"Tahoma", 8, 0, 0};
  params.LineSpacing = 2;
  params.WordWrap = flags & 1;
  params.MeasureOnly = flags & 2;
  params.Rect = {0, 0, (flags >> 2) * 16, 100000};
  params.HitX = 20;
  params.HitY = 5;
  TCountingMeasurer measurer;
  const TMiniHtmlLayout layout = LayoutMiniHtml(text, params, measurer);
  // Per token at most a measure and a draw, per line two "gh" heights, and
  // a bullet or an image asks once more.
  if (measurer.calls > 8 * (text.size() + 2)) __builtin_trap();
  if (layout.Height < 2 || layout.Ops.size() > 8 * (text.size() + 2)) __builtin_trap();
  return 0;
}
