#include "app/Contrat.h"

#include "app/ContratText.h"

TForm_Contrat* Form_Contrat = nullptr;

TForm_Contrat::TForm_Contrat(TComponent* owner) : TPageForm(owner, "Contrat", 632, 402) {
  Memo = Make<TvxMemo>(this, 0, 0, 631, 402);
  Memo->Properties()->SetReadOnly(true);
  Memo->Properties()->SetScrollBars(ssVertical);
  AssignFont(Memo->Style()->Font(), "Tahoma", -13, 0);
  // Set as one text: the memo's lines take it in one change.
  String text;
  for (int i = 0; i < kAgreementLineCount; ++i) text += String(kAgreementLines[i]) + (i + 1 < kAgreementLineCount ? "\r\n" : "");
  Memo->Lines()->SetText(text);
}
