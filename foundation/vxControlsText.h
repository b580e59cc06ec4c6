// The portable helpers of the control module: caption clean-up (the "&"
// mnemonic marks) and the classification of typed characters and virtual
// keys. The windowed helpers are in vxControls.h.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Text.h"

// Copies text without its mnemonic marks: an ampersand is dropped and the
// character after it kept as it is, so "&&" gives one "&". A lone ampersand
// at the end becomes "_" when keepTrailingMark is set and is dropped
// otherwise.
String vxRemoveMnemonicMarks(std::string_view text, bool keepTrailingMark = false);
WideString vxRemoveMnemonicMarksW(std::u16string_view text, bool keepTrailingMark = false);

// The characters a number field accepts: the signs and digits always; with
// numberKind 1 or 2 also the locale's decimal separator; with numberKind 2
// also the exponent letter in either case.
bool vxIsNumericInputChar(char c, int numberKind);
// Keys that produce no character: control, navigation, function and
// modifier keys, and the input-method keys. Codes above 255 are never keys.
bool vxIsNonCharacterKey(unsigned virtualKey);
// A printable character (code 32 or more).
bool vxIsTextInputChar(char c);

// --- Base control logic that needs no window ---------------------------------------

// The key groups a control claims in WM_GETDLGCODE.
enum TvxWantedKey : uint8_t { wkAllKeys = 1, wkArrowKeys = 2, wkCharKeys = 4, wkTabKey = 8 };
using TvxWantedKeys = uint8_t;

// The dialog-code answer for a set of wanted keys (DLGC_WANTALLKEYS 4,
// DLGC_WANTARROWS 1, DLGC_WANTCHARS 0x80, DLGC_WANTTAB 2): Tab is not
// claimed while Ctrl is held, so that Ctrl+Tab still leaves the control.
unsigned vxDialogCodeForWantedKeys(TvxWantedKeys keys, bool ctrlPressed);

// The library's drag and drop inside a control: a press where one may begin
// waits (pending) until the mouse leaves the drag-detect square, unless its
// object starts at once; any other press, the release and a cancellation
// (a key, a lost capture) end it.
enum TvxDragDropPhase : uint8_t { ddpIdle, ddpPending, ddpActive };
enum TvxDragDropEvent : uint8_t {
  ddePressToBegin,
  ddePressToBeginImmediately,
  ddeOtherPress,
  ddeMoveInsideDetectArea,
  ddeMoveOutsideDetectArea,
  ddeRelease,
  ddeCancel,
};
TvxDragDropPhase vxDragDropPhaseAfter(TvxDragDropPhase phase, TvxDragDropEvent event);

// What a control wants one of its built-in bars to show, recorded while it
// calculates and applied by the next update.
struct TvxControlScrollBarParams {
  int32_t Min = 0, Max = 100, Position = 0, PageSize = 0;
  int32_t SmallChange = 1, LargeChange = 1;
  bool Enabled = true, Visible = false, AllowShow = true, AllowHide = true;
};
// Records a wish. A bar with nothing to scroll (max < min, a page that
// covers the range, or a position below min) hides when allowHide, else
// stays shown but disabled with its old range.
void vxRecordScrollBarParams(TvxControlScrollBarParams& params, int32_t min, int32_t max, int32_t smallChange,
                             int32_t pageSize, int32_t position, bool allowShow, bool allowHide);
// Whether a bar is needed only because the other one takes room: the page
// enlarged by the other bar's thickness covers the range.
bool vxScrollBarNeededOnlyForOther(const TvxControlScrollBarParams& params, int otherThickness);

enum TvxDirection { dirNone, dirLeft, dirRight, dirUp, dirDown };

// Direction and speed of the scroll-anchor mode for the pointer at p (screen
// points): inside the neutral square of side zoneSize around the anchor
// (the whole screen's extent on an axis whose bar is hidden) nothing moves;
// outside, the speed grows by one every 5 pixels past the zone, up to 12.
struct TvxScrollAnchorMove {
  TvxDirection Direction = dirNone;
  int Speed = 0;
  bool LeftZone = false;
};
TvxScrollAnchorMove vxScrollAnchorMoveAt(int anchorX, int anchorY, int x, int y, int zoneSize, int screenWidth,
                                         int screenHeight, bool hBarShown, bool vBarShown);
// One line scrolls every (13 - speed) ticks of the mode's 20 ms timer.
constexpr int vxScrollAnchorTicksPerLine(int speed) { return 13 - speed; }
