// The painter registry: an owning list of named painter records in name
// order, and the observers told when a painter comes or goes.
#include "foundation/vxLookAndFeelPaintersRegistry.h"

#include <algorithm>
#include <vector>

namespace {

std::unique_ptr<TvxExtendedStylePainters>& Registry() {
  static std::unique_ptr<TvxExtendedStylePainters> registry;
  return registry;
}

}  // namespace

bool TvxExtendedStylePainters::RegisterPainter(const String& name, TvxLookAndFeelPainterClass painter,
                                               std::unique_ptr<TObject> data) {
  TvxLookAndFeelPainterClass found = nullptr;
  if (FindPainterByName(name, found)) return false;
  Add(new TvxExtendedStylePainterInfo(name, painter, std::move(data)));
  SortByName();
  NotifyObservers(painter);
  return true;
}

bool TvxExtendedStylePainters::UnregisterPainter(const String& name) {
  TvxExtendedStylePainterInfo* info = nullptr;
  const int index = LocateByName(name, info);
  if (index < 0) return false;
  std::unique_ptr<TvxExtendedStylePainterInfo> record(info);
  Delete(index);
  NotifyObservers(record->Painter);
  return true;
}

bool TvxExtendedStylePainters::FindPainterByName(const String& name, TvxLookAndFeelPainterClass& painter) const {
  TvxExtendedStylePainterInfo* info = nullptr;
  if (LocateByName(name, info) < 0) return false;
  painter = info->Painter;
  return true;
}

bool TvxExtendedStylePainters::FindNameOfPainter(TvxLookAndFeelPainterClass painter, String& name) const {
  name.clear();
  for (int i = 0; i < Count(); ++i)
    if (PainterAt(i) == painter) {
      name = NameAt(i);
      return true;
    }
  return false;
}

bool TvxExtendedStylePainters::FindDataOfPainter(TvxLookAndFeelPainterClass painter, TObject*& data) const {
  data = nullptr;
  for (int i = 0; i < Count(); ++i)
    if (PainterAt(i) == painter) {
      data = InfoAt(i)->Data.get();
      return true;
    }
  return false;
}

int TvxExtendedStylePainters::LocateByName(const String& name, TvxExtendedStylePainterInfo*& info) const {
  for (int i = 0; i < Count(); ++i)
    if (AnsiSameText(NameAt(i), name)) {
      info = InfoAt(i);
      return i;
    }
  return -1;
}

void TvxExtendedStylePainters::SortByName() {
  std::vector<TObject*> items;
  for (int i = 0; i < Count(); ++i) items.push_back(GetItem(i));
  std::stable_sort(items.begin(), items.end(), [](TObject* a, TObject* b) {
    return AnsiCompareStr(static_cast<TvxExtendedStylePainterInfo*>(a)->Name,
                          static_cast<TvxExtendedStylePainterInfo*>(b)->Name) < 0;
  });
  for (int i = Count() - 1; i >= 0; --i) Delete(i);
  for (TObject* item : items) Add(item);
}

void TvxExtendedStylePainters::NotifyObservers(TvxLookAndFeelPainterClass painter) {
  std::vector<IvxExtendedStylePaintersObserver*> snapshot;
  for (int i = 0; i < observers_.Count(); ++i) snapshot.push_back(observers_.Items(i));
  for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it)
    if (observers_.IndexOf(*it) >= 0) (*it)->HandlePainterRegistration(painter);
}

TvxExtendedStylePainters* vxGetStylePainterRegistry() { return Registry().get(); }

void vxCreateStylePainterRegistry() {
  if (!Registry()) Registry() = std::make_unique<TvxExtendedStylePainters>();
}

void vxFreeStylePainterRegistry() { Registry().reset(); }
