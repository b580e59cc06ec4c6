// The glyph lists of push buttons: each holds the state images of every
// button glyph of one size, and the process-wide cache hands out one list
// per size. Entries are handed out and given back: a released entry stays
// in the list for the next image, so the indexes of the other buttons
// sharing the list stay valid.
#pragma once

#include <memory>
#include <vector>

#include "foundation/vxImageList.h"
#include "platform/Lists.h"

class TvxGlyphList : public TvxImageList {
 public:
  TvxGlyphList(int width, int height);
  const char* ClassName() const override { return "TvxGlyphList"; }

  int AddImage(TBitmap* image, TBitmap* mask);
  void ReleaseImage(int index);
  // Images in use.
  int UsedCount() const { return usedCount_; }

 private:
  TBits used_;
  int usedCount_ = 0;
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
