// Definition collections: the tables of a database, and the fields and
// indexes of a table, as the storage layer reads them from the file.
//
// Field and index definitions get an automatic name when they are created in
// their collection: characters 2 to 6 of the class name followed by the
// item's ID + 1 ("TomeF1", "TomeI3"). The storage layer replaces it with
// the name from the file right after adding the item.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Collections.h"
#include "platform/FieldDefs.h"
#include "tabledb/TomeDBBasics.h"

enum TTDIndexOption : uint8_t { tiPrimary = 0, tiUnique = 1, tiDescending = 2, tiCaseInsensitive = 3 };
// A set of TTDIndexOption: bit n is option n.
using TTDIndexOptions = uint8_t;
constexpr TTDIndexOptions IndexOptionBit(TTDIndexOption option) { return TTDIndexOptions(1u << option); }

enum TTomeDBMediumType : uint8_t { mtDisk, mtMemory };

using TIntegerAry = std::vector<int32_t>;

// A definition with a name: the data-set framework's named item (its
// collections here are plain owned collections, so names are not checked
// for duplicates).
class TTomeNamedItem : public TNamedItem {
 public:
  using TNamedItem::TNamedItem;
  const char* ClassName() const override { return "TTomeNamedItem"; }

 protected:
  // Names the item from its class name and ID.
  void SetAutomaticName(std::string_view className);
};

class TTomeTableDef : public TTomeNamedItem {
 public:
  using TTomeNamedItem::TTomeNamedItem;
  const char* ClassName() const override { return "TTomeTableDef"; }

  int32_t TableIdx = 0;  // position in the database's table list
};

class TTomeFieldDef : public TTomeNamedItem {
 public:
  explicit TTomeFieldDef(TCollection* collection);
  const char* ClassName() const override { return "TTomeFieldDef"; }
  void Assign(const TPersistent* source) override;

  uint8_t FieldType = ftUnknown;
  int32_t DataSize = 0;  // the declared size
  // 0: the field takes part in compression and encryption; any other value:
  // it is always stored as it is.
  uint8_t DPMode = 0;
};

class TTomeIndexDef : public TTomeNamedItem {
 public:
  explicit TTomeIndexDef(TCollection* collection);
  const char* ClassName() const override { return "TTomeIndexDef"; }
  void Assign(const TPersistent* source) override;

  TTDIndexOptions Options = 0;
  TIntegerAry FieldIdxes;  // key field numbers in key order
};

class TTomeTableDefs : public TOwnedCollection {
 public:
  // The owner is the database.
  explicit TTomeTableDefs(TPersistent* database);
  const char* ClassName() const override { return "TTomeTableDefs"; }
  TTomeTableDef* Add() { return static_cast<TTomeTableDef*>(TCollection::Add()); }
  TTomeTableDef* Items(int index) const { return static_cast<TTomeTableDef*>(TCollection::Items(index)); }
};

class TTomeFieldDefs : public TOwnedCollection {
 public:
  explicit TTomeFieldDefs(TPersistent* owner);
  const char* ClassName() const override { return "TTomeFieldDefs"; }
  TTomeFieldDef* Add() { return static_cast<TTomeFieldDef*>(TCollection::Add()); }
  TTomeFieldDef* Items(int index) const { return static_cast<TTomeFieldDef*>(TCollection::Items(index)); }
};

class TTomeIndexDefs : public TOwnedCollection {
 public:
  explicit TTomeIndexDefs(TPersistent* owner);
  const char* ClassName() const override { return "TTomeIndexDefs"; }
  TTomeIndexDef* Add() { return static_cast<TTomeIndexDef*>(TCollection::Add()); }
  TTomeIndexDef* Items(int index) const { return static_cast<TTomeIndexDef*>(TCollection::Items(index)); }
};

// Position of the first definition whose name equals name without regard to
// case, or -1. The collection's items must be TTomeNamedItem objects.
int FindDefIndex(const TCollection& defs, std::string_view name);
