// The shell combo box: a folder path in an edit, with a drop-down button
// that browses the shell's folder tree from the root folder. The text is
// the chosen folder's file-system path; Properties.OnChange fires after it
// changes, whether a folder was chosen or the path typed.
#pragma once

#include "platform/ui/StandardControls.h"

enum TvxShowFullPath { sfpAlways, sfpNever, sfpNotFocused };

class TvxShellComboBoxRoot {
 public:
  // The folder the browse tree starts at; the desktop when it does not exist.
  const String& CustomPath() const { return customPath_; }
  void SetCustomPath(const String& path) { customPath_ = path; }

 private:
  String customPath_;
};

class TvxShellComboBoxProperties {
 public:
  TvxShellComboBoxRoot* Root() { return &root_; }
  TvxShowFullPath ShowFullPath() const { return showFullPath_; }
  void SetShowFullPath(TvxShowFullPath value) { showFullPath_ = value; }
  int DropDownWidth() const { return dropDownWidth_; }
  void SetDropDownWidth(int value) { dropDownWidth_ = value; }

  TNotifyEvent OnChange;

 private:
  TvxShellComboBoxRoot root_;
  TvxShowFullPath showFullPath_ = sfpAlways;
  int dropDownWidth_ = 0;
};

class TvxShellComboBox;

class TvxShellComboBoxStyle {
 public:
  explicit TvxShellComboBoxStyle(TvxShellComboBox* owner) : owner_(owner) {}
  TFont* Font();

 private:
  TvxShellComboBox* owner_;
};

class TvxShellComboBox : public TCustomControl {
 public:
  explicit TvxShellComboBox(TComponent* owner);
  const char* ClassName() const override { return "TvxShellComboBox"; }

  TvxShellComboBoxProperties* Properties() { return &properties_; }
  TvxShellComboBoxStyle* Style() { return &style_; }
  // Shows the folder tree; a chosen folder becomes the text.
  void DropDown();

  void SetBounds(int left, int top, int width, int height) override;
  void Dispatch(TMessage& message) override;

 protected:
  String ReadText() override;
  void WriteText(const String& text) override;

 private:
  void LayoutParts();

  TvxShellComboBoxProperties properties_;
  TvxShellComboBoxStyle style_{this};
  TEdit* edit_;
  TButton* button_;
};
