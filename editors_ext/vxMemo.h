// The memo editor: a multi-line text over the system edit, with the
// editor's properties (read-only, scroll bars) and style font.
#pragma once

#include "platform/ui/StandardControls.h"

class TvxMemo;

class TvxMemoProperties {
 public:
  explicit TvxMemoProperties(TvxMemo* owner) : owner_(owner) {}
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);

 private:
  TvxMemo* owner_;
  bool readOnly_ = false;
  TScrollStyle scrollBars_ = ssNone;
};

class TvxMemoStyle {
 public:
  explicit TvxMemoStyle(TvxMemo* owner) : owner_(owner) {}
  TFont* Font();

 private:
  TvxMemo* owner_;
};

class TvxMemo : public TMemo {
 public:
  explicit TvxMemo(TComponent* owner);
  const char* ClassName() const override { return "TvxMemo"; }

  TvxMemoProperties* Properties() { return &properties_; }
  TvxMemoStyle* Style() { return &style_; }

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  TvxMemoProperties properties_{this};
  TvxMemoStyle style_{this};
};
