// Containers of the framework: the pointer list TList and its owning form
// TObjectList, the string lists TStrings / TStringList, the locked
// TThreadList and the bit set TBits.
//
// Indexes are 0-based ints. Every index outside the list raises EListError
// "List index out of bounds (%d)" (EStringListError for string lists) and
// leaves the list as it was.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "Components.h"
#include "Errors.h"
#include "Threads.h"

class TStream;

QE_DECLARE_EXCEPTION(EStringListError, EListError);
QE_DECLARE_EXCEPTION(EBitsError, Exception);

// Largest number of items a list holds: keeps every byte count of the item
// arrays inside a signed 32-bit range, as stored formats and callers expect.
constexpr int MaxListSize = 0x7FFFFFFF / 16;

// What a sorted list does when an added item equals one it holds.
enum TDuplicates { dupIgnore, dupAccept, dupError };

// --- TList ---------------------------------------------------------------------

enum TListNotification { lnAdded, lnExtracted, lnDeleted };

// <0, 0 or >0 as item1 sorts before, with or after item2.
using TListSortCompare = std::function<int(void* item1, void* item2)>;

// A list of untyped pointers. It owns nothing, but a derived list can free
// or count its items by overriding Notify, which hears of every non-null
// pointer that enters (lnAdded) or leaves (lnDeleted, or lnExtracted through
// Extract). The destructor of a list whose Notify frees items must call
// Clear itself: a base destructor no longer reaches the override.
class TList : public TObject {
 public:
  TList() = default;
  ~TList() override;
  TList(const TList&) = delete;
  TList& operator=(const TList&) = delete;
  const char* ClassName() const override { return "TList"; }

  int Add(void* item);
  void Insert(int index, void* item);
  void Delete(int index);
  // Deletes the first occurrence; returns its former index, -1 when absent.
  int Remove(void* item);
  // Takes the first occurrence out with lnExtracted; returns it, or nullptr.
  void* Extract(void* item);
  int IndexOf(void* item) const;
  void Exchange(int index1, int index2);
  // The item at curIndex ends at newIndex.
  void Move(int curIndex, int newIndex);
  // Stable. An exception from compare leaves the list untouched.
  void Sort(const TListSortCompare& compare);
  void Clear();
  // Drops every nullptr item.
  void Pack();

  int Count() const { return int(items_.size()); }
  // Growing adds nullptr items; shrinking deletes from the end.
  void SetCount(int count);
  int Capacity() const { return int(items_.capacity()); }
  // "List capacity out of bounds (%d)" below Count or above MaxListSize.
  void SetCapacity(int capacity);
  void* Items(int index) const;
  // Replacing an item notifies lnDeleted for the old and lnAdded for the new.
  void SetItems(int index, void* item);
  void* operator[](int index) const { return Items(index); }
  void* First() const { return Items(0); }
  void* Last() const { return Items(Count() - 1); }

 protected:
  virtual void Notify(void* item, TListNotification action) {}
  // Raises EListError with fmt and one integer.
  [[noreturn]] static void Error(std::string_view fmt, int data);

 private:
  void CheckIndex(int index) const;
  std::vector<void*> items_;
};

// A list of objects that deletes each one it loses (Delete, Remove, Clear,
// SetCount, its own destruction) while OwnsObjects is set; Extract hands
// the object back without deleting it.
class TObjectList : public TList {
 public:
  explicit TObjectList(bool ownsObjects = true) : ownsObjects_(ownsObjects) {}
  ~TObjectList() override;
  const char* ClassName() const override { return "TObjectList"; }

  int Add(TObject* item) { return TList::Add(item); }
  void Insert(int index, TObject* item) { TList::Insert(index, item); }
  int Remove(TObject* item) { return TList::Remove(item); }
  TObject* Extract(TObject* item) { return static_cast<TObject*>(TList::Extract(item)); }
  int IndexOf(TObject* item) const { return TList::IndexOf(item); }
  TObject* Items(int index) const { return static_cast<TObject*>(TList::Items(index)); }
  void SetItems(int index, TObject* item) { TList::SetItems(index, item); }
  TObject* operator[](int index) const { return Items(index); }
  TObject* First() const { return static_cast<TObject*>(TList::First()); }
  TObject* Last() const { return static_cast<TObject*>(TList::Last()); }

  bool OwnsObjects() const { return ownsObjects_; }
  void SetOwnsObjects(bool owns) { ownsObjects_ = owns; }

 protected:
  void Notify(void* item, TListNotification action) override;

 private:
  bool ownsObjects_;
};

// --- TStrings --------------------------------------------------------------------

// The abstract list of strings, each with an associated object pointer. A
// concrete list supplies storage (Get, GetCount, Insert, Delete, Clear and,
// when it keeps objects, GetObject/PutObject); everything else is built on
// those and may be overridden (a rich edit's lines do).
//
// Text form: each line followed by CR LF. Reading accepts CR LF, LF and CR;
// a line break at the very end adds no empty line.
// Name/value form: "name=value"; names compare as CompareStrings does.
// Delimited form (CommaText with ',' and '"'): a field holding a blank, a
// control character, the delimiter or the quote is quoted, quotes doubled.
// Unquoted fields end at a blank as well as at the delimiter.
class TStrings : public TPersistent {
 public:
  TStrings() = default;
  ~TStrings() override = default;
  // Lists copy through Assign, which takes strings and objects only.
  TStrings(const TStrings&) = delete;
  TStrings& operator=(const TStrings&) = delete;
  const char* ClassName() const override { return "TStrings"; }

  // --- storage, supplied by the concrete list
  virtual String Get(int index) const = 0;
  virtual int GetCount() const = 0;
  virtual TObject* GetObject(int index) const { return nullptr; }
  virtual void Put(int index, const String& s);
  virtual void PutObject(int index, TObject* object) {}
  virtual void Insert(int index, const String& s) = 0;
  virtual void InsertObject(int index, const String& s, TObject* object);
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  // --- operations on top of the storage
  virtual int Add(const String& s);
  virtual int AddObject(const String& s, TObject* object);
  virtual void AddStrings(const TStrings& strings);
  virtual int IndexOf(std::string_view s) const;
  virtual void Exchange(int index1, int index2);
  virtual void Move(int curIndex, int newIndex);
  void Assign(const TPersistent* source) override;

  int Count() const { return GetCount(); }
  String Strings(int index) const { return Get(index); }
  void SetStrings(int index, const String& s) { Put(index, s); }
  String operator[](int index) const { return Get(index); }
  TObject* Objects(int index) const { return GetObject(index); }
  void SetObjects(int index, TObject* object) { PutObject(index, object); }
  int IndexOfObject(const TObject* object) const;

  // --- name=value pairs
  String Names(int index) const;
  String ValueFromIndex(int index) const;
  int IndexOfName(std::string_view name) const;
  String Values(std::string_view name) const;
  // An empty value deletes the pair; a new name is added at the end.
  void SetValues(std::string_view name, std::string_view value);

  // --- whole-list text forms
  String Text() const { return GetTextStr(); }
  void SetText(std::string_view text) { SetTextStr(text); }
  String CommaText() const;
  void SetCommaText(std::string_view text);
  String DelimitedText() const;
  void SetDelimitedText(std::string_view text);
  char Delimiter() const { return delimiter_; }
  void SetDelimiter(char c) { delimiter_ = c; }
  char QuoteChar() const { return quoteChar_; }
  void SetQuoteChar(char c) { quoteChar_ = c; }

  // --- update bracket: SetUpdateState(true) when the first Begin opens it,
  // SetUpdateState(false) when the last End closes it.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  // --- persistence: the Text form, bytes as they are. Loading reads from
  // the stream's position to its end; a failed open leaves the list as it is.
  virtual void LoadFromFile(const String& fileName);
  virtual void SaveToFile(const String& fileName);
  virtual void LoadFromStream(TStream& stream);
  virtual void SaveToStream(TStream& stream);

 protected:
  virtual String GetTextStr() const;
  virtual void SetTextStr(std::string_view text);
  virtual void SetUpdateState(bool updating) {}
  // Compares two strings as IndexOf and the name lookups do; here without
  // regard to case (AnsiCompareText).
  virtual int CompareStrings(std::string_view a, std::string_view b) const;
  [[noreturn]] static void Error(std::string_view fmt, int data);

 private:
  String GetDelimited(char delimiter, char quote) const;
  void SetDelimited(std::string_view text, char delimiter, char quote);

  int updateCount_ = 0;
  char delimiter_ = ',';
  char quoteChar_ = '"';
};

// --- TStringList ----------------------------------------------------------------

class TStringList;
// <0, 0 or >0 as the string at index1 sorts before, with or after index2.
using TStringListSortCompare = std::function<int(TStringList* list, int index1, int index2)>;

// The string list. Sorted lists keep their order on every Add and find by
// binary search; Insert, SetStrings, Exchange and Move raise EStringListError
// "Operation not allowed on sorted list" on them. Duplicates (default
// dupIgnore) rule what Add does with an equal string in a sorted list:
// dupIgnore returns the existing index, dupError raises "String list does not
// allow duplicates". CaseSensitive defaults to false (AnsiCompareText).
//
// OnChanging fires before and OnChange after each change. Inside a
// BeginUpdate/EndUpdate bracket OnChanging fires before the first change
// and OnChange once when the bracket closes, and neither when nothing
// changed.
class TStringList : public TStrings {
 public:
  TStringList() = default;
  ~TStringList() override;
  const char* ClassName() const override { return "TStringList"; }

  String Get(int index) const override;
  int GetCount() const override { return int(items_.size()); }
  TObject* GetObject(int index) const override;
  void Put(int index, const String& s) override;
  void PutObject(int index, TObject* object) override;
  void Insert(int index, const String& s) override;
  void InsertObject(int index, const String& s, TObject* object) override;
  void Delete(int index) override;
  void Clear() override;
  int Add(const String& s) override;
  int AddObject(const String& s, TObject* object) override;
  int IndexOf(std::string_view s) const override;
  void Exchange(int index1, int index2) override;
  void Move(int curIndex, int newIndex) override;

  // In a sorted list: true when s is present, index its first position;
  // false with index where s would go. In an unsorted list: a plain search,
  // index = Count when absent.
  bool Find(std::string_view s, int& index) const;
  // Sorts by CompareStrings; nothing on a list already Sorted.
  virtual void Sort();
  // Sorts with compare, stable; the objects move with their strings. The
  // indexes given to compare are positions in the list as it was before the
  // sort (the list is only rearranged once sorting is complete, so an
  // exception from compare leaves it untouched). Nothing on a Sorted list.
  virtual void CustomSort(const TStringListSortCompare& compare);

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates d) { duplicates_ = d; }
  bool CaseSensitive() const { return caseSensitive_; }
  // Re-sorts a sorted list.
  void SetCaseSensitive(bool caseSensitive);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  void SetUpdateState(bool updating) override;
  int CompareStrings(std::string_view a, std::string_view b) const override;
  virtual void Changing();
  virtual void Changed();

 private:
  struct Item {
    String s;
    TObject* object;
  };
  void CheckIndex(int index) const;
  void CheckUnsorted() const;
  void InsertItem(int index, const String& s, TObject* object);
  void Rearrange(const std::vector<int>& order);

  std::vector<Item> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  TDuplicates duplicates_ = dupIgnore;
  bool changingReported_ = false;
  bool changePending_ = false;
};

// --- TThreadList ------------------------------------------------------------------

// A TList behind a lock. LockList/UnlockList bracket any direct use of the
// list; the lock is recursive, so the owning thread may nest brackets.
// Duplicates defaults to dupIgnore: Add of a pointer already present does
// nothing (dupError raises "List does not allow duplicates ($0%x)").
class TThreadList : public TObject {
 public:
  const char* ClassName() const override { return "TThreadList"; }

  void Add(void* item);
  void Remove(void* item);
  void Clear();
  TList* LockList();
  void UnlockList();

  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates d) { duplicates_ = d; }

 private:
  TList list_;
  TCriticalSection lock_;
  TDuplicates duplicates_ = dupIgnore;
};

// --- TBits ------------------------------------------------------------------------

// A growable set of bits, all false when new. Writing a bit past Size grows
// the set; reading one raises EBitsError "Bits index out of range", as does
// any negative index or size and any size above MaxBitsSize.
class TBits : public TObject {
 public:
  static constexpr int MaxBitsSize = 0x7FFFFFFF - 31;

  const char* ClassName() const override { return "TBits"; }

  int Size() const { return size_; }
  // New bits are false; shrinking forgets the bits past the new size.
  void SetSize(int size);
  bool Bits(int index) const;
  void SetBits(int index, bool value);
  bool operator[](int index) const { return Bits(index); }
  // Index of the first false bit; Size when every bit is set.
  int OpenBit() const;

 private:
  std::vector<uint32_t> words_;
  int size_ = 0;
};
