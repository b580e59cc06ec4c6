#include "Lists.h"

#include <algorithm>
#include <numeric>

#include "Streams.h"

namespace {

constexpr const char* kIndexError = "List index out of bounds (%d)";
constexpr const char* kSortedListError = "Operation not allowed on sorted list";

// The order in which compare(a, b) puts the indexes 0..count-1, stable.
// Sorting indexes instead of items keeps the list intact until the order
// is known, whatever compare does.
std::vector<int> SortedOrder(int count, const std::function<int(int, int)>& compare) {
  std::vector<int> order(static_cast<size_t>(count));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(a, b) < 0; });
  return order;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

// --- TList -------------------------------------------------------------------------

TList::~TList() { Clear(); }

void TList::Error(std::string_view fmt, int data) { throw EListError(fmt, {data}); }

void TList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) Error(kIndexError, index);
}

int TList::Add(void* item) {
  int index = Count();
  Insert(index, item);
  return index;
}

void TList::Insert(int index, void* item) {
  if (index < 0 || index > Count()) Error(kIndexError, index);
  if (Count() >= MaxListSize) Error("List capacity out of bounds (%d)", Count() + 1);
  items_.insert(items_.begin() + index, item);
  if (item) Notify(item, lnAdded);
}

void TList::Delete(int index) {
  CheckIndex(index);
  void* item = items_[size_t(index)];
  items_.erase(items_.begin() + index);
  if (item) Notify(item, lnDeleted);
}

int TList::Remove(void* item) {
  int index = IndexOf(item);
  if (index >= 0) Delete(index);
  return index;
}

void* TList::Extract(void* item) {
  int index = IndexOf(item);
  if (index < 0) return nullptr;
  void* found = items_[size_t(index)];
  items_.erase(items_.begin() + index);
  if (found) Notify(found, lnExtracted);
  return found;
}

int TList::IndexOf(void* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : int(it - items_.begin());
}

void TList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  std::swap(items_[size_t(index1)], items_[size_t(index2)]);
}

void TList::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  CheckIndex(curIndex);
  CheckIndex(newIndex);
  auto first = items_.begin();
  if (curIndex < newIndex)
    std::rotate(first + curIndex, first + curIndex + 1, first + newIndex + 1);
  else
    std::rotate(first + newIndex, first + curIndex, first + curIndex + 1);
}

void TList::Sort(const TListSortCompare& compare) {
  std::vector<int> order =
      SortedOrder(Count(), [&](int a, int b) { return compare(items_[size_t(a)], items_[size_t(b)]); });
  std::vector<void*> sorted;
  sorted.reserve(items_.size());
  for (int i : order) sorted.push_back(items_[size_t(i)]);
  items_.swap(sorted);
}

void TList::Clear() {
  SetCount(0);
  items_.shrink_to_fit();
}

void TList::Pack() {
  // Removed items are nullptr: nobody needs to hear of them.
  items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end());
}

void TList::SetCount(int count) {
  if (count < 0 || count > MaxListSize) Error("List count out of bounds (%d)", count);
  if (count > Count()) {
    items_.resize(size_t(count), nullptr);
    return;
  }
  // One at a time from the end, so that a Notify that frees items sees a
  // consistent list.
  while (Count() > count) Delete(Count() - 1);
}

void TList::SetCapacity(int capacity) {
  if (capacity < Count() || capacity > MaxListSize) Error("List capacity out of bounds (%d)", capacity);
  if (size_t(capacity) > items_.capacity())
    items_.reserve(size_t(capacity));
  else
    std::vector<void*>(items_.begin(), items_.end()).swap(items_);
}

void* TList::Items(int index) const {
  CheckIndex(index);
  return items_[size_t(index)];
}

void TList::SetItems(int index, void* item) {
  CheckIndex(index);
  void* old = items_[size_t(index)];
  if (old == item) return;
  items_[size_t(index)] = item;
  if (old) Notify(old, lnDeleted);
  if (item) Notify(item, lnAdded);
}

// --- TObjectList ---------------------------------------------------------------------

TObjectList::~TObjectList() { Clear(); }

void TObjectList::Notify(void* item, TListNotification action) {
  if (action == lnDeleted && ownsObjects_) delete static_cast<TObject*>(item);
}

// --- TStrings ------------------------------------------------------------------------

void TStrings::Error(std::string_view fmt, int data) { throw EStringListError(fmt, {data}); }

void TStrings::Put(int index, const String& s) {
  TObject* object = GetObject(index);
  Delete(index);
  InsertObject(index, s, object);
}

void TStrings::InsertObject(int index, const String& s, TObject* object) {
  Insert(index, s);
  PutObject(index, object);
}

int TStrings::Add(const String& s) {
  int index = GetCount();
  Insert(index, s);
  return index;
}

int TStrings::AddObject(const String& s, TObject* object) {
  int index = Add(s);
  PutObject(index, object);
  return index;
}

void TStrings::AddStrings(const TStrings& strings) {
  BeginUpdate();
  try {
    for (int i = 0; i < strings.GetCount(); ++i) AddObject(strings.Get(i), strings.GetObject(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TStrings::IndexOf(std::string_view s) const {
  for (int i = 0; i < GetCount(); ++i)
    if (CompareStrings(Get(i), s) == 0) return i;
  return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
  for (int i = 0; i < GetCount(); ++i)
    if (GetObject(i) == object) return i;
  return -1;
}

void TStrings::Exchange(int index1, int index2) {
  BeginUpdate();
  try {
    String s = Get(index1);
    TObject* object = GetObject(index1);
    Put(index1, Get(index2));
    PutObject(index1, GetObject(index2));
    Put(index2, s);
    PutObject(index2, object);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  if (newIndex < 0 || newIndex >= GetCount()) Error(kIndexError, newIndex);
  BeginUpdate();
  try {
    String s = Get(curIndex);
    TObject* object = GetObject(curIndex);
    Delete(curIndex);
    InsertObject(newIndex, s, object);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Assign(const TPersistent* source) {
  auto* strings = dynamic_cast<const TStrings*>(source);
  if (!strings) {
    TPersistent::Assign(source);
    return;
  }
  if (strings == this) return;
  BeginUpdate();
  try {
    Clear();
    AddStrings(*strings);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

String TStrings::Names(int index) const {
  String s = Get(index);
  size_t eq = s.find('=');
  return eq == String::npos ? String() : s.substr(0, eq);
}

String TStrings::ValueFromIndex(int index) const {
  String s = Get(index);
  size_t eq = s.find('=');
  return eq == String::npos ? String() : s.substr(eq + 1);
}

int TStrings::IndexOfName(std::string_view name) const {
  for (int i = 0; i < GetCount(); ++i) {
    String s = Get(i);
    size_t eq = s.find('=');
    if (eq != String::npos && CompareStrings(std::string_view(s).substr(0, eq), name) == 0) return i;
  }
  return -1;
}

String TStrings::Values(std::string_view name) const {
  int index = IndexOfName(name);
  return index < 0 ? String() : ValueFromIndex(index);
}

void TStrings::SetValues(std::string_view name, std::string_view value) {
  int index = IndexOfName(name);
  if (value.empty()) {
    if (index >= 0) Delete(index);
    return;
  }
  String line = String(name) + '=' + String(value);
  if (index >= 0)
    Put(index, line);
  else
    Add(line);
}

String TStrings::GetTextStr() const {
  String text;
  for (int i = 0; i < GetCount(); ++i) {
    text += Get(i);
    text += "\r\n";
  }
  return text;
}

void TStrings::SetTextStr(std::string_view text) {
  BeginUpdate();
  try {
    Clear();
    size_t pos = 0;
    while (pos < text.size()) {
      size_t end = text.find_first_of("\r\n", pos);
      if (end == std::string_view::npos) end = text.size();
      Add(String(text.substr(pos, end - pos)));
      pos = end;
      if (pos < text.size() && text[pos] == '\r') ++pos;
      if (pos < text.size() && text[pos] == '\n') ++pos;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

String TStrings::CommaText() const { return GetDelimited(',', '"'); }
void TStrings::SetCommaText(std::string_view text) { SetDelimited(text, ',', '"'); }
String TStrings::DelimitedText() const { return GetDelimited(delimiter_, quoteChar_); }
void TStrings::SetDelimitedText(std::string_view text) { SetDelimited(text, delimiter_, quoteChar_); }

String TStrings::GetDelimited(char delimiter, char quote) const {
  // A lone empty string must still read back as one item.
  if (GetCount() == 1 && Get(0).empty()) return String(2, quote);
  String result;
  for (int i = 0; i < GetCount(); ++i) {
    if (i > 0) result += delimiter;
    String s = Get(i);
    bool needsQuotes =
        std::any_of(s.begin(), s.end(), [&](char c) { return IsBlank(c) || c == delimiter || c == quote; });
    result += needsQuotes ? QuotedStr(s, quote) : s;
  }
  return result;
}

void TStrings::SetDelimited(std::string_view text, char delimiter, char quote) {
  BeginUpdate();
  try {
    Clear();
    size_t p = 0;
    auto skipBlanks = [&] {
      while (p < text.size() && IsBlank(text[p])) ++p;
    };
    skipBlanks();
    while (p < text.size()) {
      String field;
      if (text[p] == quote) {
        // Quoted: a doubled quote stands for one; an unclosed field runs
        // to the end of the text.
        for (++p; p < text.size(); ++p) {
          if (text[p] != quote) {
            field += text[p];
          } else if (p + 1 < text.size() && text[p + 1] == quote) {
            field += quote;
            ++p;
          } else {
            ++p;
            break;
          }
        }
      } else {
        size_t start = p;
        while (p < text.size() && !IsBlank(text[p]) && text[p] != delimiter) ++p;
        field.assign(text.substr(start, p - start));
      }
      Add(field);
      skipBlanks();
      if (p < text.size() && text[p] == delimiter) {
        // A delimiter that ends the text announces one more, empty field.
        if (p + 1 == text.size()) Add(String());
        ++p;
        skipBlanks();
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::BeginUpdate() {
  if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

int TStrings::CompareStrings(std::string_view a, std::string_view b) const { return AnsiCompareText(a, b); }

void TStrings::LoadFromFile(const String& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TStrings::SaveToFile(const String& fileName) {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(stream);
}

void TStrings::LoadFromStream(TStream& stream) {
  int64_t size = stream.Size() - stream.Position();
  String text(size_t(std::max<int64_t>(size, 0)), '\0');
  stream.ReadBuffer(text.data(), int64_t(text.size()));
  SetTextStr(text);
}

void TStrings::SaveToStream(TStream& stream) {
  String text = GetTextStr();
  stream.WriteBuffer(text.data(), int64_t(text.size()));
}

// --- TStringList --------------------------------------------------------------------

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
}

void TStringList::CheckIndex(int index) const {
  if (index < 0 || index >= GetCount()) Error(kIndexError, index);
}

void TStringList::CheckUnsorted() const {
  if (sorted_) throw EStringListError(kSortedListError);
}

String TStringList::Get(int index) const {
  CheckIndex(index);
  return items_[size_t(index)].s;
}

TObject* TStringList::GetObject(int index) const {
  CheckIndex(index);
  return items_[size_t(index)].object;
}

void TStringList::Put(int index, const String& s) {
  CheckUnsorted();
  CheckIndex(index);
  Changing();
  items_[size_t(index)].s = s;
  Changed();
}

void TStringList::PutObject(int index, TObject* object) {
  CheckIndex(index);
  Changing();
  items_[size_t(index)].object = object;
  Changed();
}

void TStringList::Insert(int index, const String& s) { InsertObject(index, s, nullptr); }

void TStringList::InsertObject(int index, const String& s, TObject* object) {
  CheckUnsorted();
  if (index < 0 || index > GetCount()) Error(kIndexError, index);
  InsertItem(index, s, object);
}

void TStringList::InsertItem(int index, const String& s, TObject* object) {
  if (GetCount() >= MaxListSize) Error("List capacity out of bounds (%d)", GetCount() + 1);
  Changing();
  items_.insert(items_.begin() + index, Item{s, object});
  Changed();
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  Changing();
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  Changed();
}

int TStringList::Add(const String& s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const String& s, TObject* object) {
  int index = GetCount();
  if (sorted_ && Find(s, index)) {
    if (duplicates_ == dupIgnore) return index;
    if (duplicates_ == dupError) throw EStringListError("String list does not allow duplicates");
  }
  InsertItem(index, s, object);
  return index;
}

int TStringList::IndexOf(std::string_view s) const {
  if (!sorted_) return TStrings::IndexOf(s);
  int index;
  return Find(s, index) ? index : -1;
}

bool TStringList::Find(std::string_view s, int& index) const {
  if (!sorted_) {
    index = TStrings::IndexOf(s);
    if (index >= 0) return true;
    index = GetCount();
    return false;
  }
  // Lower bound: with accepted duplicates the first of the equal strings.
  int low = 0;
  int high = GetCount();
  while (low < high) {
    int mid = low + (high - low) / 2;
    if (CompareStrings(items_[size_t(mid)].s, s) < 0)
      low = mid + 1;
    else
      high = mid;
  }
  index = low;
  return low < GetCount() && CompareStrings(items_[size_t(low)].s, s) == 0;
}

void TStringList::Exchange(int index1, int index2) {
  CheckUnsorted();
  CheckIndex(index1);
  CheckIndex(index2);
  Changing();
  std::swap(items_[size_t(index1)], items_[size_t(index2)]);
  Changed();
}

void TStringList::Move(int curIndex, int newIndex) {
  // Checked before the base class deletes anything, so that a refused
  // move loses no string.
  CheckUnsorted();
  CheckIndex(curIndex);
  TStrings::Move(curIndex, newIndex);
}

void TStringList::Sort() {
  CustomSort([](TStringList* list, int a, int b) {
    return list->CompareStrings(list->items_[size_t(a)].s, list->items_[size_t(b)].s);
  });
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
  if (sorted_ || GetCount() < 2) return;
  Rearrange(SortedOrder(GetCount(), [&](int a, int b) { return compare(this, a, b); }));
}

void TStringList::Rearrange(const std::vector<int>& order) {
  std::vector<Item> sorted;
  sorted.reserve(items_.size());
  for (int i : order) sorted.push_back(items_[size_t(i)]);
  Changing();
  items_.swap(sorted);
  Changed();
}

void TStringList::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  if (sorted) Sort();
  sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
  if (caseSensitive == caseSensitive_) return;
  caseSensitive_ = caseSensitive;
  if (sorted_) {
    sorted_ = false;
    Sort();
    sorted_ = true;
  }
}

int TStringList::CompareStrings(std::string_view a, std::string_view b) const {
  return caseSensitive_ ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

void TStringList::Changing() {
  if (UpdateCount() > 0) {
    if (changingReported_) return;
    changingReported_ = true;
  }
  if (OnChanging) OnChanging(this);
}

void TStringList::Changed() {
  if (UpdateCount() > 0) {
    changePending_ = true;
    return;
  }
  if (OnChange) OnChange(this);
}

void TStringList::SetUpdateState(bool updating) {
  if (updating) return;
  changingReported_ = false;
  if (!changePending_) return;
  changePending_ = false;
  if (OnChange) OnChange(this);
}

// --- TThreadList --------------------------------------------------------------------

void TThreadList::Add(void* item) {
  std::lock_guard guard(lock_);
  if (duplicates_ != dupAccept && list_.IndexOf(item) >= 0) {
    if (duplicates_ == dupError)
      throw EListError("List does not allow duplicates ($0%x)", {reinterpret_cast<uintptr_t>(item)});
    return;
  }
  list_.Add(item);
}

void TThreadList::Remove(void* item) {
  std::lock_guard guard(lock_);
  list_.Remove(item);
}

void TThreadList::Clear() {
  std::lock_guard guard(lock_);
  list_.Clear();
}

TList* TThreadList::LockList() {
  lock_.Enter();
  return &list_;
}

void TThreadList::UnlockList() { lock_.Leave(); }

// --- TBits --------------------------------------------------------------------------

namespace {

[[noreturn]] void BitsError() { throw EBitsError("Bits index out of range"); }

}  // namespace

void TBits::SetSize(int size) {
  if (size < 0 || size > MaxBitsSize) BitsError();
  if (size < size_) {
    // Clear the dropped bits of the last word, so that growing again later
    // brings them back as false.
    for (int i = size; i < size_ && (i & 31) != 0; ++i) words_[size_t(i) / 32] &= ~(1u << (i & 31));
  }
  words_.resize((size_t(size) + 31) / 32, 0);
  size_ = size;
}

bool TBits::Bits(int index) const {
  if (index < 0 || index >= size_) BitsError();
  return (words_[size_t(index) / 32] >> (index & 31)) & 1u;
}

void TBits::SetBits(int index, bool value) {
  if (index < 0 || index >= MaxBitsSize) BitsError();
  if (index >= size_) SetSize(index + 1);
  uint32_t mask = 1u << (index & 31);
  uint32_t& word = words_[size_t(index) / 32];
  word = value ? (word | mask) : (word & ~mask);
}

int TBits::OpenBit() const {
  for (size_t w = 0; w < words_.size(); ++w) {
    if (words_[w] == 0xFFFFFFFFu) continue;
    for (int bit = 0; bit < 32; ++bit) {
      int index = int(w * 32) + bit;
      if (index >= size_) return size_;
      if (!((words_[w] >> bit) & 1u)) return index;
    }
  }
  return size_;
}
