#include "shell/vxShellComboBox.h"

#include <shlobj.h>

#include "platform/OsFiles.h"

namespace {

// The folder that the browse tree starts at, or nullptr (the desktop).
LPITEMIDLIST RootItem(const String& customPath) {
  if (customPath.empty()) return nullptr;
  String path = IncludeTrailingPathDelimiter(customPath);
  if (!os::DirectoryExists(path)) return nullptr;
  return ILCreateFromPathA(path.c_str());
}

}  // namespace

TFont* TvxShellComboBoxStyle::Font() { return owner_->Font(); }

TvxShellComboBox::TvxShellComboBox(TComponent* owner) : TCustomControl(owner) {
  SetControlStyle(ControlStyle() | csAcceptsControls);
  SetTabStop(false);
  edit_ = new TEdit(this);
  edit_->SetParent(this);
  edit_->OnChange = [this](TObject*) {
    if (properties_.OnChange) properties_.OnChange(this);
  };
  button_ = new TButton(this);
  button_->SetParent(this);
  button_->SetCaption("...");
  button_->SetTabStop(false);
  button_->OnClick = [this](TObject*) { DropDown(); };
  ChangeBounds(0, 0, 145, 21);
  LayoutParts();
}

void TvxShellComboBox::SetBounds(int left, int top, int width, int height) {
  TCustomControl::SetBounds(left, top, width, height);
  LayoutParts();
}

void TvxShellComboBox::LayoutParts() {
  const int buttonWidth = Height();
  edit_->SetBounds(0, 0, Width() - buttonWidth, Height());
  button_->SetBounds(Width() - buttonWidth, 0, buttonWidth, Height());
}

void TvxShellComboBox::Dispatch(TMessage& m) {
  // The control takes the focus for its edit, where typing goes.
  if (m.Msg == WM_SETFOCUS) {
    edit_->SetFocus();
    return;
  }
  TCustomControl::Dispatch(m);
}

String TvxShellComboBox::ReadText() { return edit_->Text(); }

void TvxShellComboBox::WriteText(const String& text) { edit_->SetText(text); }

void TvxShellComboBox::DropDown() {
  BROWSEINFOA info{};
  char display[MAX_PATH] = {};
  info.hwndOwner = Handle();
  info.pidlRoot = RootItem(properties_.Root()->CustomPath());
  info.pszDisplayName = display;
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
  if (info.pidlRoot) ILFree(const_cast<LPITEMIDLIST>(info.pidlRoot));
  if (!chosen) return;
  char path[MAX_PATH] = {};
  bool isFolder = SHGetPathFromIDListA(chosen, path);
  ILFree(chosen);
  if (isFolder) edit_->SetText(path);
}
