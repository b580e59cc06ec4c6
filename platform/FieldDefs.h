// Field and index definitions: what a data set's source says about its
// columns and its indexes, before any field object exists. A data set fills
// its FieldDefs when it opens and makes its default fields from them.
//
// Definitions are collection items with a name, unique in their collection
// without regard to case.
#pragma once

#include <cstdint>

#include "Collections.h"
#include "Fields.h"

class TDataSet;

// A collection item with a name.
class TNamedItem : public TCollectionItem {
 public:
  using TCollectionItem::TCollectionItem;
  const char* ClassName() const override { return "TNamedItem"; }

  const String& Name() const { return name_; }
  // EDatabaseError "Duplicate name '%s' in %s" when another item of the
  // collection has the name.
  void SetName(const String& name);
  void SetDisplayName(const String& name) override { SetName(name); }

 protected:
  String GetDisplayName() const override { return name_; }

 private:
  String name_;
};

// A collection of named definitions of one data set.
class TDefCollection : public TOwnedCollection {
 public:
  TDefCollection(TDataSet* dataSet, TCollectionItemFactory factory);
  const char* ClassName() const override { return "TDefCollection"; }

  TDataSet* DataSet() const { return dataSet_; }
  // Position of the item with the name (without regard to case), or -1.
  int IndexOf(std::string_view name) const;
  // nullptr when absent.
  TNamedItem* FindItem(std::string_view name) const;

 private:
  TDataSet* dataSet_;
};

class TFieldDef : public TNamedItem {
 public:
  explicit TFieldDef(TCollection* collection);
  const char* ClassName() const override { return "TFieldDef"; }
  void Assign(const TPersistent* source) override;

  TFieldType DataType() const { return dataType_; }
  void SetDataType(TFieldType type) { dataType_ = type; }
  // The declared size: characters for the string types, else 0.
  int Size() const { return size_; }
  void SetSize(int size) { size_ = size; }
  bool Required() const { return required_; }
  void SetRequired(bool required) { required_ = required; }
  // The definition's number in its data set, 1 for the first one added.
  int FieldNo() const { return fieldNo_; }

  // A field of the class that serves DataType, with this definition's name,
  // size and required flag, joined to the collection's data set. Raises
  // EDatabaseError "Field '%s' is of an unknown type" for a type without a
  // field class.
  TField* CreateField(TComponent* owner) const;

 private:
  TFieldType dataType_ = ftUnknown;
  int size_ = 0;
  bool required_ = false;
  int fieldNo_;
};

class TFieldDefs : public TDefCollection {
 public:
  explicit TFieldDefs(TDataSet* dataSet);
  const char* ClassName() const override { return "TFieldDefs"; }

  TFieldDef* AddFieldDef() { return static_cast<TFieldDef*>(TCollection::Add()); }
  TFieldDef* Add(const String& name, TFieldType type, int size = 0, bool required = false);
  TFieldDef* Items(int index) const { return static_cast<TFieldDef*>(TCollection::Items(index)); }
  TFieldDef* operator[](int index) const { return Items(index); }
  // EDatabaseError "Field '%s' not found" when absent.
  TFieldDef* Find(std::string_view name) const;
};

enum TIndexOption : uint8_t { ixPrimary = 1, ixUnique = 2, ixDescending = 4, ixCaseInsensitive = 8 };
// A set of TIndexOption bits.
using TIndexOptions = uint8_t;

class TIndexDef : public TNamedItem {
 public:
  using TNamedItem::TNamedItem;
  const char* ClassName() const override { return "TIndexDef"; }
  void Assign(const TPersistent* source) override;

  // The key field names in key order, separated by ";" or ",".
  const String& Fields() const { return fields_; }
  void SetFields(const String& fields) { fields_ = fields; }
  TIndexOptions Options() const { return options_; }
  void SetOptions(TIndexOptions options) { options_ = options; }

 private:
  String fields_;
  TIndexOptions options_ = 0;
};

class TIndexDefs : public TDefCollection {
 public:
  explicit TIndexDefs(TDataSet* dataSet);
  const char* ClassName() const override { return "TIndexDefs"; }

  TIndexDef* AddIndexDef() { return static_cast<TIndexDef*>(TCollection::Add()); }
  TIndexDef* Add(const String& name, const String& fields, TIndexOptions options);
  TIndexDef* Items(int index) const { return static_cast<TIndexDef*>(TCollection::Items(index)); }
  TIndexDef* operator[](int index) const { return Items(index); }
  // EDatabaseError "Index '%s' not found" when absent.
  TIndexDef* Find(std::string_view name) const;
};
