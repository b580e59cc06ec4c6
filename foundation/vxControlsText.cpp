#include "foundation/vxControlsText.h"

#include <algorithm>
#include <cstdlib>

#include "platform/FormatSettings.h"

namespace {

// One walk for both character widths.
template <typename Result, typename View>
Result RemoveMnemonicMarks(View text, bool keepTrailingMark) {
  Result out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      out.push_back(text[i]);
    } else if (i + 1 < text.size()) {
      out.push_back(text[++i]);
    } else if (keepTrailingMark) {
      out.push_back('_');
    }
  }
  return out;
}

}  // namespace

String vxRemoveMnemonicMarks(std::string_view text, bool keepTrailingMark) {
  return RemoveMnemonicMarks<String>(text, keepTrailingMark);
}

WideString vxRemoveMnemonicMarksW(std::u16string_view text, bool keepTrailingMark) {
  return RemoveMnemonicMarks<WideString>(text, keepTrailingMark);
}

bool vxIsNumericInputChar(char c, int numberKind) {
  if (c == '+' || c == '-' || (c >= '0' && c <= '9')) return true;
  if (numberKind != 1 && numberKind != 2) return false;
  if (c == FormatSettings().DecimalSeparator) return true;
  return numberKind == 2 && (c == 'e' || c == 'E');
}

bool vxIsNonCharacterKey(unsigned key) {
  // Ranges of virtual-key codes, inclusive: cancel, backspace and tab,
  // clear and return, the modifiers to caps lock, escape, the navigation
  // and editing keys up to help, the Windows keys to scroll lock, the left
  // and right modifiers, the input-method process key, and the OEM keys
  // from attention to clear.
  static constexpr struct { uint8_t First, Last; } kRanges[] = {
      {3, 3},     {8, 9},     {12, 13},   {16, 20},   {27, 27},
      {33, 47},   {91, 145},  {160, 165}, {229, 229}, {246, 254},
  };
  for (const auto& r : kRanges)
    if (key >= r.First && key <= r.Last) return true;
  return false;
}

bool vxIsTextInputChar(char c) { return static_cast<unsigned char>(c) >= 32; }

unsigned vxDialogCodeForWantedKeys(TvxWantedKeys keys, bool ctrlPressed) {
  unsigned code = 0;
  if (keys & wkAllKeys) code += 4;
  if (keys & wkArrowKeys) code += 1;
  if (keys & wkCharKeys) code += 0x80;
  if ((keys & wkTabKey) && !ctrlPressed) code += 2;
  return code;
}

TvxDragDropPhase vxDragDropPhaseAfter(TvxDragDropPhase phase, TvxDragDropEvent event) {
  switch (event) {
    case ddePressToBegin: return ddpPending;
    case ddePressToBeginImmediately: return ddpActive;
    case ddeMoveInsideDetectArea: return phase;
    case ddeMoveOutsideDetectArea: return phase == ddpPending ? ddpActive : phase;
    case ddeOtherPress:
    case ddeRelease:
    case ddeCancel: break;
  }
  return ddpIdle;
}

void vxRecordScrollBarParams(TvxControlScrollBarParams& params, int32_t min, int32_t max, int32_t smallChange,
                             int32_t pageSize, int32_t position, bool allowShow, bool allowHide) {
  params.AllowShow = allowShow;
  params.AllowHide = allowHide;
  if (!allowShow) {
    params.Visible = false;
    return;
  }
  // 64-bit: a range of the whole 32-bit span must not wrap.
  const bool nothingToScroll = max < min || int64_t(pageSize) >= int64_t(max) - min + 1 || position < min;
  if (nothingToScroll) {
    params.Visible = !allowHide;
    if (!allowHide) params.Enabled = false;
    return;
  }
  params.Min = min;
  params.Max = max;
  params.Position = position;
  params.PageSize = pageSize;
  params.SmallChange = smallChange;
  params.LargeChange = pageSize;
  params.Enabled = true;
  params.Visible = true;
}

bool vxScrollBarNeededOnlyForOther(const TvxControlScrollBarParams& params, int otherThickness) {
  return int64_t(otherThickness) + params.PageSize >= int64_t(params.Max) - params.Min + 1;
}

TvxScrollAnchorMove vxScrollAnchorMoveAt(int anchorX, int anchorY, int x, int y, int zoneSize, int screenWidth,
                                         int screenHeight, bool hBarShown, bool vBarShown) {
  const int half = zoneSize / 2;
  const int left = hBarShown ? anchorX - half : 0, right = hBarShown ? anchorX - half + zoneSize : screenWidth;
  const int top = vBarShown ? anchorY - half : 0, bottom = vBarShown ? anchorY - half + zoneSize : screenHeight;
  TvxScrollAnchorMove move;
  if (x >= left && x < right && y >= top && y < bottom) return move;
  move.LeftZone = true;
  const int dx = x - anchorX, dy = y - anchorY;
  int distance;
  if (!hBarShown || (vBarShown && std::abs(dy) >= std::abs(dx))) {
    move.Direction = dy < 0 ? dirUp : dirDown;
    distance = std::abs(dy);
  } else {
    move.Direction = dx < 0 ? dirLeft : dirRight;
    distance = std::abs(dx);
  }
  move.Speed = std::min((distance - half) / 5 + 1, 12);
  return move;
}
