// Definition collections of tables, fields and indexes.
#include "tabledb/TomeDBDefs.h"

namespace {

// Runs a change of an item inside its collection's update bracket, which
// closes also when the change fails.
template <class Change>
void InUpdate(TCollection* collection, Change change) {
  if (!collection) {
    change();
    return;
  }
  collection->BeginUpdate();
  try {
    change();
  } catch (...) {
    collection->EndUpdate();
    throw;
  }
  collection->EndUpdate();
}

}  // namespace

void TTomeNamedItem::SetAutomaticName(std::string_view className) {
  if (Collection() && Name().empty()) SetName(Copy(className, 2, 5) + IntToStr(ID() + 1));
}

TTomeFieldDef::TTomeFieldDef(TCollection* collection) : TTomeNamedItem(collection) {
  SetAutomaticName(ClassName());
}

void TTomeFieldDef::Assign(const TPersistent* source) {
  const auto* def = dynamic_cast<const TTomeFieldDef*>(source);
  if (!def) {
    TTomeNamedItem::Assign(source);
    return;
  }
  InUpdate(Collection(), [&] {
    SetName(def->Name());
    FieldType = def->FieldType;
    DataSize = def->DataSize;
    DPMode = def->DPMode;
  });
}

TTomeIndexDef::TTomeIndexDef(TCollection* collection) : TTomeNamedItem(collection) {
  SetAutomaticName(ClassName());
}

void TTomeIndexDef::Assign(const TPersistent* source) {
  const auto* def = dynamic_cast<const TTomeIndexDef*>(source);
  if (!def) {
    TTomeNamedItem::Assign(source);
    return;
  }
  InUpdate(Collection(), [&] {
    SetName(def->Name());
    Options = def->Options;
    FieldIdxes = def->FieldIdxes;
  });
}

TTomeTableDefs::TTomeTableDefs(TPersistent* database)
    : TOwnedCollection(database, [](TCollection* c) { return new TTomeTableDef(c); }) {}

TTomeFieldDefs::TTomeFieldDefs(TPersistent* owner)
    : TOwnedCollection(owner, [](TCollection* c) { return new TTomeFieldDef(c); }) {}

TTomeIndexDefs::TTomeIndexDefs(TPersistent* owner)
    : TOwnedCollection(owner, [](TCollection* c) { return new TTomeIndexDef(c); }) {}

int FindDefIndex(const TCollection& defs, std::string_view name) {
  for (int i = 0; i < defs.Count(); ++i)
    if (AnsiSameText(static_cast<const TTomeNamedItem*>(defs.Items(i))->Name(), name)) return i;
  return -1;
}
