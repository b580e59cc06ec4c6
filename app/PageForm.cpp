#include "app/PageForm.h"

TPageForm::TPageForm(TComponent* owner, const char* caption, int clientWidth, int clientHeight) : TForm(owner) {
  SetBorderStyle(bsNone);
  SetColor(clWhite);
  SetWindowState(wsMaximized);
  AssignFont(Font(), "MS Sans Serif", -11, 0);
  SetCaption(caption);
  SetClientSize(clientWidth, clientHeight);
}
