#include "FieldDefs.h"

#include "DataSets.h"

// --- TNamedItem -----------------------------------------------------------------------

void TNamedItem::SetName(const String& name) {
  if (name == name_) return;
  auto* defs = dynamic_cast<TDefCollection*>(Collection());
  if (defs && !name.empty()) {
    TNamedItem* other = defs->FindItem(name);
    if (other && other != this) DatabaseErrorFmt("Duplicate name '%s' in %s", {name, defs->ClassName()});
  }
  name_ = name;
  Changed(false);
}

// --- TDefCollection ---------------------------------------------------------------------

TDefCollection::TDefCollection(TDataSet* dataSet, TCollectionItemFactory factory)
    : TOwnedCollection(dataSet, std::move(factory)), dataSet_(dataSet) {}

int TDefCollection::IndexOf(std::string_view name) const {
  for (int i = 0; i < Count(); ++i)
    if (AnsiSameText(static_cast<TNamedItem*>(Items(i))->Name(), name)) return i;
  return -1;
}

TNamedItem* TDefCollection::FindItem(std::string_view name) const {
  int index = IndexOf(name);
  return index < 0 ? nullptr : static_cast<TNamedItem*>(Items(index));
}

// --- TFieldDef ------------------------------------------------------------------------------

// The item is in its collection once the base constructor has run, so the
// count is its number.
TFieldDef::TFieldDef(TCollection* collection)
    : TNamedItem(collection), fieldNo_(collection ? collection->Count() : 0) {}

void TFieldDef::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TFieldDef*>(source);
  if (!other) {
    TNamedItem::Assign(source);
    return;
  }
  SetName(other->Name());
  dataType_ = other->dataType_;
  size_ = other->size_;
  required_ = other->required_;
}

TField* TFieldDef::CreateField(TComponent* owner) const {
  TDataSet* dataSet = static_cast<const TDefCollection*>(Collection())->DataSet();
  std::unique_ptr<TField> field(CreateFieldOfType(dataType_, owner));
  if (!field) DatabaseErrorFmt("Field '%s' is of an unknown type", {Name()}, dataSet);
  if (dataType_ == ftString || dataType_ == ftFixedChar) field->SetSize(size_);
  field->SetFieldName(Name());
  field->SetRequired(required_);
  field->SetDataSet(dataSet);
  return field.release();
}

// --- TFieldDefs -------------------------------------------------------------------------------

TFieldDefs::TFieldDefs(TDataSet* dataSet)
    : TDefCollection(dataSet, [](TCollection* c) -> TCollectionItem* { return new TFieldDef(c); }) {}

TFieldDef* TFieldDefs::Add(const String& name, TFieldType type, int size, bool required) {
  TFieldDef* def = AddFieldDef();
  try {
    def->SetName(name);
  } catch (...) {
    Delete(def->Index());
    throw;
  }
  def->SetDataType(type);
  def->SetSize(size);
  def->SetRequired(required);
  return def;
}

TFieldDef* TFieldDefs::Find(std::string_view name) const {
  TNamedItem* item = FindItem(name);
  if (!item) DatabaseErrorFmt("Field '%s' not found", {name}, DataSet());
  return static_cast<TFieldDef*>(item);
}

// --- TIndexDef, TIndexDefs -------------------------------------------------------------------

void TIndexDef::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TIndexDef*>(source);
  if (!other) {
    TNamedItem::Assign(source);
    return;
  }
  SetName(other->Name());
  fields_ = other->fields_;
  options_ = other->options_;
}

TIndexDefs::TIndexDefs(TDataSet* dataSet)
    : TDefCollection(dataSet, [](TCollection* c) -> TCollectionItem* { return new TIndexDef(c); }) {}

TIndexDef* TIndexDefs::Add(const String& name, const String& fields, TIndexOptions options) {
  TIndexDef* def = AddIndexDef();
  try {
    def->SetName(name);
  } catch (...) {
    Delete(def->Index());
    throw;
  }
  def->SetFields(fields);
  def->SetOptions(options);
  return def;
}

TIndexDef* TIndexDefs::Find(std::string_view name) const {
  TNamedItem* item = FindItem(name);
  if (!item) DatabaseErrorFmt("Index '%s' not found", {name}, DataSet());
  return static_cast<TIndexDef*>(item);
}
