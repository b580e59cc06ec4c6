// The glyph lists of push buttons: each holds the state images of every
// button glyph of one size, and the process-wide cache hands out one list
// per size. Entries are handed out and given back: a released entry stays
// in the list for the next image, so the indexes of the other buttons
// sharing the list stay valid.
//
// The list's own transparent draw makes a memory DC and a bitmap at every
// call (the DC costs round trips to the window system), as long as the
// rest of the button's own drawing. So each image is also kept as what
// that draw puts over any background: colour premultiplied by alpha, taken
// from the list's own draws over black and over white and checked over
// grey. One alpha blend from a bitmap the list keeps selected then paints
// the same pixels.
#pragma once

#include <memory>
#include <vector>

#include "foundation/vxImageList.h"
#include "platform/Lists.h"

class TvxBitmap32;

class TvxGlyphList : public TvxImageList {
 public:
  TvxGlyphList(int width, int height);
  ~TvxGlyphList() override;
  const char* ClassName() const override { return "TvxGlyphList"; }

  int AddImage(TBitmap* image, TBitmap* mask);
  void ReleaseImage(int index);
  // Images in use.
  int UsedCount() const { return usedCount_; }
  // Draws an image with its top left at (x, y) of dc, exactly as the
  // list's transparent draw would.
  void DrawImage(int index, HDC dc, int x, int y);
  // Whether DrawImage paints the image with one blend.
  bool DrawsByBlend(int index) const {
    return index >= 0 && index < int(blendable_.size()) && blendable_[size_t(index)];
  }

 private:
  void KeepBlendImage(int index);

  TBits used_;
  int usedCount_ = 0;
  // The images as premultiplied colour and alpha, one below the other;
  // an image whose draw is no blend (blendable_ false) draws through the
  // list.
  std::unique_ptr<TvxBitmap32> blendImages_;
  std::vector<bool> blendable_;
};

class TvxGlyphCache {
 public:
  // The newest list of that size; a new one when there is none.
  TvxGlyphList* GetList(int width, int height);
  // Frees the list once none of its images is in use.
  void ReturnList(TvxGlyphList* list);
  bool IsEmpty() const { return glyphLists_.empty(); }
  int ListCount() const { return int(glyphLists_.size()); }

 private:
  std::vector<std::unique_ptr<TvxGlyphList>> glyphLists_;
};

// The cache, from the first glyph object until the last one leaves it
// empty; nullptr otherwise.
TvxGlyphCache* vxGlyphCacheInstance();
