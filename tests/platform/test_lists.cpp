// Pointer lists, string lists, the locked list and the bit set.
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "platform/Lists.h"
#include "platform/OsFiles.h"
#include "platform/Streams.h"
#include "support/TestSupport.h"

using testing_support::TempDir;

namespace {

void* P(intptr_t v) { return reinterpret_cast<void*>(v); }
intptr_t V(void* p) { return reinterpret_cast<intptr_t>(p); }

std::vector<intptr_t> Values(const TList& list) {
  std::vector<intptr_t> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(V(list.Items(i)));
  return out;
}

std::vector<String> Lines(const TStrings& list) {
  std::vector<String> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]);
  return out;
}

template <class E, class F>
String MessageOf(F f) {
  try {
    f();
  } catch (const E& e) {
    return e.Message();
  }
  return "(nothing raised)";
}

// Records what Notify hears, as "+v", "-v" (deleted) and "x v" (extracted).
class RecordingList : public TList {
 public:
  ~RecordingList() override { Clear(); }
  std::vector<String> heard;

 protected:
  void Notify(void* item, TListNotification action) override {
    const char* mark = action == lnAdded ? "+" : action == lnDeleted ? "-" : "x";
    heard.push_back(mark + IntToStr(V(item)));
  }
};

class Counted : public TObject {
 public:
  explicit Counted(int& alive) : alive_(alive) { ++alive_; }
  ~Counted() override { --alive_; }

 private:
  int& alive_;
};

}  // namespace

TEST(List, EditsKeepOrderAndRejectBadIndexes) {
  TList list;
  for (int v : {10, 20, 30}) list.Add(P(v));
  list.Insert(0, P(5));
  list.Insert(4, P(40));
  EXPECT_EQ(Values(list), (std::vector<intptr_t>{5, 10, 20, 30, 40}));
  list.Move(0, 3);
  EXPECT_EQ(Values(list), (std::vector<intptr_t>{10, 20, 30, 5, 40}));
  list.Move(3, 1);
  list.Exchange(0, 4);
  EXPECT_EQ(Values(list), (std::vector<intptr_t>{40, 5, 20, 30, 10}));
  EXPECT_EQ(list.Remove(P(20)), 2);
  EXPECT_EQ(list.Remove(P(99)), -1);
  EXPECT_EQ(list.IndexOf(P(30)), 2);
  EXPECT_EQ(V(list.Extract(P(5))), 5);
  EXPECT_EQ(list.Extract(P(5)), nullptr);
  EXPECT_EQ(V(list.First()), 40);
  EXPECT_EQ(V(list.Last()), 10);

  list.SetCount(5);  // grows with nullptr
  list.SetItems(3, P(7));
  list.Pack();
  EXPECT_EQ(Values(list), (std::vector<intptr_t>{40, 30, 10, 7}));

  const std::vector<intptr_t> before = Values(list);
  EXPECT_EQ(MessageOf<EListError>([&] { list.Items(4); }), "List index out of bounds (4)");
  EXPECT_EQ(MessageOf<EListError>([&] { list.Delete(-1); }), "List index out of bounds (-1)");
  EXPECT_EQ(MessageOf<EListError>([&] { list.Insert(6, P(1)); }), "List index out of bounds (6)");
  EXPECT_EQ(MessageOf<EListError>([&] { list.Move(0, 4); }), "List index out of bounds (4)");
  EXPECT_EQ(MessageOf<EListError>([&] { list.SetCount(-2); }), "List count out of bounds (-2)");
  EXPECT_EQ(MessageOf<EListError>([&] { list.SetCapacity(1); }), "List capacity out of bounds (1)");
  EXPECT_EQ(Values(list), before);

  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_THROW(list.First(), EListError);
  EXPECT_THROW(list.Last(), EListError);
}

TEST(List, SortIsStableAndSurvivesAThrowingCompare) {
  TList list;
  // Tens digit is the key; units tell equal keys apart.
  for (int v : {31, 12, 33, 11, 22, 32}) list.Add(P(v));
  list.Sort([](void* a, void* b) { return int(V(a) / 10 - V(b) / 10); });
  EXPECT_EQ(Values(list), (std::vector<intptr_t>{12, 11, 22, 31, 33, 32}));

  int calls = 0;
  EXPECT_THROW(list.Sort([&](void*, void*) -> int {
    if (++calls == 4) throw EConvertError("compare failed");
    return 1;
  }),
               EConvertError);
  EXPECT_EQ(Values(list), (std::vector<intptr_t>{12, 11, 22, 31, 33, 32}));
}

TEST(List, NotifyHearsEveryItemThatComesOrGoes) {
  RecordingList list;
  list.Add(P(1));
  list.Add(nullptr);  // nullptr items are not announced
  list.Insert(0, P(2));
  list.SetItems(1, P(3));
  list.Extract(P(2));
  list.Remove(P(3));
  list.Add(P(4));
  list.Add(P(5));
  list.SetCount(1);
  EXPECT_EQ(list.heard, (std::vector<String>{"+1", "+2", "-1", "+3", "x2", "-3", "+4", "+5", "-5", "-4"}));
}

TEST(ObjectList, DeletesWhatItOwnsAndHandsBackWhatIsExtracted) {
  int alive = 0;
  Counted* kept = nullptr;
  {
    TObjectList list;
    for (int i = 0; i < 4; ++i) list.Add(new Counted(alive));
    kept = static_cast<Counted*>(list.Extract(list.Items(0)));
    list.Delete(0);
    list.Remove(list.Last());
    EXPECT_EQ(alive, 2);  // the extracted one and one in the list
  }
  EXPECT_EQ(alive, 1);
  std::unique_ptr<Counted> owner(kept);

  TObjectList borrowed(false);
  borrowed.Add(kept);
  borrowed.Clear();
  EXPECT_EQ(alive, 1);
}

TEST(StringList, SortedListAppliesTheDuplicatesRule) {
  struct Case {
    TDuplicates rule;
    std::vector<String> expected;
    bool raises;
  };
  const Case cases[] = {
      {dupIgnore, {"apple", "Banana", "cherry"}, false},
      {dupAccept, {"apple", "BANANA", "Banana", "cherry"}, false},
      {dupError, {"apple", "Banana", "cherry"}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.rule));
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(c.rule);
    list.Add("cherry");
    list.Add("Banana");
    list.Add("apple");
    if (c.raises) {
      EXPECT_EQ(MessageOf<EStringListError>([&] { list.Add("BANANA"); }), "String list does not allow duplicates");
    } else {
      int index = list.Add("BANANA");
      EXPECT_EQ(index, 1);  // ignored: the existing one; accepted: before it
    }
    EXPECT_EQ(Lines(list), c.expected);
  }
}

TEST(StringList, CaseSensitivityRulesFindAndOrder) {
  TStringList list;
  list.SetSorted(true);
  list.SetDuplicates(dupAccept);
  for (const char* s : {"b", "B", "a", "\xC9t\xE9", "\xE9t\xE9"}) list.Add(s);  // "Été", "été"
  int index = -1;
  EXPECT_TRUE(list.Find("\xC9T\xC9", index));  // accented letters fold too
  EXPECT_EQ(index, 3);
  EXPECT_EQ(list.IndexOf("A"), 0);

  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("A"), -1);
  EXPECT_FALSE(list.Find("\xC9T\xC9", index));
  EXPECT_TRUE(list.Find("B", index));
  EXPECT_EQ(list[index], "B");
  // Re-sorted under the new rule: every neighbour pair is in order.
  for (int i = 1; i < list.Count(); ++i) EXPECT_LE(AnsiCompareStr(list[i - 1], list[i]), 0);
  // A miss gives the place where the string would go.
  EXPECT_FALSE(list.Find("c", index));
  for (int i = 0; i < list.Count(); ++i) EXPECT_EQ(AnsiCompareStr(list[i], "c") < 0, i < index);
}

TEST(StringList, ObjectsTravelWithTheirStrings) {
  TObject one, two, three;
  TStringList list;
  list.AddObject("zeta", &one);
  list.AddObject("alpha", &two);
  list.AddObject("Mid", &three);
  list.Sort();
  EXPECT_EQ(Lines(list), (std::vector<String>{"alpha", "Mid", "zeta"}));
  EXPECT_EQ(list.Objects(0), &two);
  EXPECT_EQ(list.Objects(1), &three);
  EXPECT_EQ(list.Objects(2), &one);

  // A custom order by length, longest first; indexes are positions.
  list.CustomSort([](TStringList* l, int a, int b) { return int((*l)[b].size()) - int((*l)[a].size()); });
  EXPECT_EQ(Lines(list), (std::vector<String>{"alpha", "zeta", "Mid"}));
  EXPECT_EQ(list.Objects(1), &one);
  EXPECT_EQ(list.IndexOfObject(&three), 2);

  list.SetSorted(true);
  list.AddObject("beta", &one);
  EXPECT_EQ(list.IndexOf("BETA"), 1);
  EXPECT_EQ(list.Objects(1), &one);
}

TEST(StringList, SortedListRefusesPositionalEditsWithoutLosingAnything) {
  TStringList list;
  list.SetSorted(true);
  list.Add("b");
  list.Add("a");
  const String refused = "Operation not allowed on sorted list";
  EXPECT_EQ(MessageOf<EStringListError>([&] { list.Insert(0, "c"); }), refused);
  EXPECT_EQ(MessageOf<EStringListError>([&] { list.SetStrings(0, "z"); }), refused);
  EXPECT_EQ(MessageOf<EStringListError>([&] { list.Exchange(0, 1); }), refused);
  EXPECT_EQ(MessageOf<EStringListError>([&] { list.Move(0, 1); }), refused);
  EXPECT_EQ(MessageOf<EStringListError>([&] { list.Delete(2); }), "List index out of bounds (2)");
  EXPECT_EQ(Lines(list), (std::vector<String>{"a", "b"}));
}

TEST(StringList, TextRoundTripsWithCrLfAndReadsEveryLineBreak) {
  struct Case {
    const char* text;
    std::vector<String> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"one", {"one"}},
      {"one\r\ntwo\r\n", {"one", "two"}},
      {"one\ntwo\rthree\r\nfour", {"one", "two", "three", "four"}},
      {"\r\n\r\nx\n\n", {"", "", "x", ""}},
      {"a\n\rb", {"a", "", "b"}},  // LF then CR: two breaks
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TStringList list;
    list.SetText(c.text);
    EXPECT_EQ(Lines(list), c.lines);
    TStringList back;
    back.SetText(list.Text());
    EXPECT_EQ(Lines(back), c.lines);
  }
  TStringList list;
  list.Add("Soci\xE9t\xE9");
  list.Add("");
  list.Add("fin");
  EXPECT_EQ(list.Text(), "Soci\xE9t\xE9\r\n\r\nfin\r\n");
}

TEST(StringList, CommaAndDelimitedTextQuoteWhatNeedsIt) {
  struct Case {
    const char* text;
    std::vector<String> items;
  };
  const Case parse[] = {
      {"a,b,c", {"a", "b", "c"}},
      {"  a , b ", {"a", "b"}},
      {"a b,c", {"a", "b", "c"}},  // an unquoted blank separates
      {"\"a b\",\"say \"\"hi\"\"\"", {"a b", "say \"hi\""}},
      {"a,,b", {"a", "", "b"}},
      {"a,", {"a", ""}},
      {"\"\"", {""}},
      {"\"open", {"open"}},
      {"", {}},
  };
  for (const Case& c : parse) {
    SCOPED_TRACE(c.text);
    TStringList list;
    list.SetCommaText(c.text);
    EXPECT_EQ(Lines(list), c.items);
    TStringList back;
    back.SetCommaText(list.CommaText());
    EXPECT_EQ(Lines(back), c.items);
  }

  TStringList list;
  for (const char* s : {"plain", "two words", "a,b", "q\"q", ""}) list.Add(s);
  EXPECT_EQ(list.CommaText(), "plain,\"two words\",\"a,b\",\"q\"\"q\",");
  list.SetDelimiter(';');
  list.SetQuoteChar('\'');
  EXPECT_EQ(list.DelimitedText(), "plain;'two words';a,b;q\"q;");
  list.SetDelimitedText("x;'y;z' w");
  EXPECT_EQ(Lines(list), (std::vector<String>{"x", "y;z", "w"}));
}

TEST(StringList, NamesAndValues) {
  TStringList list;
  list.SetText("Path=C:\\Quillor\r\nnoequals\r\nBuild=1\r\nEmpty=\r\n");
  EXPECT_EQ(list.Names(0), "Path");
  EXPECT_EQ(list.Names(1), "");
  EXPECT_EQ(list.Values("PATH"), "C:\\Quillor");
  EXPECT_EQ(list.ValueFromIndex(2), "1");
  EXPECT_EQ(list.IndexOfName("empty"), 3);
  EXPECT_EQ(list.Values("missing"), "");

  list.SetValues("Build", "2");
  list.SetValues("Version", "5.8=B1");  // only the first '=' separates
  list.SetValues("Path", "");           // an empty value removes the pair
  EXPECT_EQ(Lines(list), (std::vector<String>{"noequals", "Build=2", "Empty=", "Version=5.8=B1"}));
  EXPECT_EQ(list.Values("Version"), "5.8=B1");
}

TEST(StringList, ChangeEventsFireOncePerUpdateBracket) {
  TStringList list;
  std::vector<String> events;
  list.OnChanging = [&](TObject* sender) { events.push_back(sender == &list ? "changing" : "?"); };
  list.OnChange = [&](TObject* sender) { events.push_back(sender == &list ? "change" : "?"); };

  list.Add("a");
  EXPECT_EQ(events, (std::vector<String>{"changing", "change"}));

  events.clear();
  list.BeginUpdate();
  list.BeginUpdate();
  list.Add("b");
  list.Delete(0);
  list.EndUpdate();
  list.SetText("x\r\ny");
  EXPECT_EQ(events, (std::vector<String>{"changing"}));
  list.EndUpdate();
  EXPECT_EQ(events, (std::vector<String>{"changing", "change"}));

  events.clear();
  list.BeginUpdate();
  list.EndUpdate();
  list.Clear();
  list.Clear();  // already empty: no change
  EXPECT_EQ(events, (std::vector<String>{"changing", "change"}));
}

TEST(StringList, AssignCopiesStringsAndObjects) {
  TObject tag;
  TStringList source;
  source.AddObject("b", &tag);
  source.Add("a");
  TStringList sorted;
  sorted.SetSorted(true);
  sorted.Add("old");
  sorted.Assign(&source);
  EXPECT_EQ(Lines(sorted), (std::vector<String>{"a", "b"}));
  EXPECT_EQ(sorted.Objects(1), &tag);
  EXPECT_THROW(sorted.Assign(nullptr), EConvertError);
  EXPECT_EQ(sorted.Count(), 2);
}

TEST(StringList, FilesAndStreamsRoundTrip) {
  TempDir dir;
  const String name = dir.File("lines.txt");
  TStringList list;
  list.Add("Soci\xE9t\xE9=MERVALDO");
  list.Add("");
  list.Add("\"quoted\"\tand tabbed");
  list.SaveToFile(name);
  EXPECT_EQ(os::FileSizeByName(name), int64_t(list.Text().size()));

  TStringList loaded;
  loaded.LoadFromFile(name);
  EXPECT_EQ(Lines(loaded), Lines(list));

  // Loading starts at the stream's position.
  TStringStream stream("skip|one\rtwo");
  stream.SetPosition(5);
  loaded.LoadFromStream(stream);
  EXPECT_EQ(Lines(loaded), (std::vector<String>{"one", "two"}));
  TStringStream out;
  loaded.SaveToStream(out);
  EXPECT_EQ(out.DataString(), "one\r\ntwo\r\n");

  // A file that cannot be opened leaves the list as it was.
  EXPECT_THROW(loaded.LoadFromFile(dir.File("missing.txt")), EFOpenError);
  EXPECT_EQ(Lines(loaded), (std::vector<String>{"one", "two"}));
}

TEST(ThreadList, ThreadsAddUnderTheLockWithoutDuplicates) {
  TThreadList list;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&list] {
      for (int v = 1; v <= 200; ++v) list.Add(P(v));  // every thread adds the same pointers
    });
  for (auto& t : threads) t.join();
  TList* locked = list.LockList();
  EXPECT_EQ(locked->Count(), 200);
  list.LockList();  // the owner may nest
  list.UnlockList();
  list.UnlockList();

  list.SetDuplicates(dupError);
  EXPECT_THROW(list.Add(P(7)), EListError);
  list.Remove(P(7));
  list.Add(P(7));
  list.SetDuplicates(dupAccept);
  list.Add(P(7));
  EXPECT_EQ(list.LockList()->Count(), 201);
  list.UnlockList();
}

TEST(Bits, GrowOnWriteAndFindTheFirstOpenBit) {
  TBits bits;
  EXPECT_EQ(bits.OpenBit(), 0);
  for (int i = 0; i < 70; ++i) bits.SetBits(i, true);
  EXPECT_EQ(bits.Size(), 70);
  EXPECT_EQ(bits.OpenBit(), 70);
  bits.SetBits(33, false);
  EXPECT_EQ(bits.OpenBit(), 33);
  EXPECT_FALSE(bits[33]);
  EXPECT_TRUE(bits[69]);

  // Shrinking forgets bits: growing again brings them back false.
  bits.SetSize(40);
  bits.SetSize(70);
  EXPECT_FALSE(bits[40]);
  EXPECT_TRUE(bits[39]);
  bits.SetBits(33, true);
  EXPECT_EQ(bits.OpenBit(), 40);

  for (int bad : {-1, 70}) EXPECT_EQ(MessageOf<EBitsError>([&] { bits.Bits(bad); }), "Bits index out of range");
  EXPECT_THROW(bits.SetBits(-1, true), EBitsError);
  EXPECT_THROW(bits.SetSize(-5), EBitsError);
  EXPECT_EQ(bits.Size(), 70);
}
