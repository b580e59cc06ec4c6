// Collections and their items: ownership, ids, order, notifications and the
// update bracket.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Collections.h"

namespace {

class TSampleItem : public TCollectionItem {
 public:
  explicit TSampleItem(TCollection* collection) : TCollectionItem(collection) { ++alive; }
  ~TSampleItem() override { --alive; }
  const char* ClassName() const override { return "TSampleItem"; }

  const String& Name() const { return name_; }
  void SetName(const String& name) {
    name_ = name;
    Changed(false);
  }
  void SetDisplayName(const String& name) override { SetName(name); }
  void Assign(const TPersistent* source) override {
    if (auto* other = dynamic_cast<const TSampleItem*>(source)) {
      SetName(other->name_);
      return;
    }
    TCollectionItem::Assign(source);
  }
  TPersistent* OwnerForTest() const { return GetOwner(); }

  static inline int alive = 0;

 protected:
  String GetDisplayName() const override { return name_.empty() ? TCollectionItem::GetDisplayName() : name_; }

 private:
  String name_;
};

TCollectionItem* NewSampleItem(TCollection* c) { return new TSampleItem(c); }

// Records every Update and Notify, by item name ("*" for the whole
// collection) and action.
class TRecordingCollection : public TOwnedCollection {
 public:
  explicit TRecordingCollection(TPersistent* owner = nullptr) : TOwnedCollection(owner, NewSampleItem) {}
  ~TRecordingCollection() override { Clear(); }

  TSampleItem* Item(int index) const { return static_cast<TSampleItem*>(Items(index)); }
  TSampleItem* AddNamed(const String& name) {
    auto* item = static_cast<TSampleItem*>(Add());
    item->SetName(name);
    return item;
  }
  void ChangeAll() { Changed(); }

  std::vector<String> updates;
  std::vector<String> notes;

 protected:
  void Update(TCollectionItem* item) override {
    updates.push_back(item ? static_cast<TSampleItem*>(item)->Name() : "*");
  }
  void Notify(TCollectionItem* item, TCollectionNotification action) override {
    const char* what = action == cnAdded ? "added" : action == cnDeleting ? "deleting" : "extracting";
    notes.push_back(String(what) + " " + IntToStr(item->ID()));
  }
};

std::vector<String> Names(const TRecordingCollection& c) {
  std::vector<String> out;
  for (int i = 0; i < c.Count(); ++i) out.push_back(c.Item(i)->Name());
  return out;
}

}  // namespace

TEST(Collection, ItemsKeepIdsOrderAndOwnership) {
  {
    TRecordingCollection c;
    c.AddNamed("a");
    c.AddNamed("b");
    c.AddNamed("c");
    auto* inserted = static_cast<TSampleItem*>(c.Insert(1));
    inserted->SetName("x");
    EXPECT_EQ(Names(c), (std::vector<String>{"a", "x", "b", "c"}));
    EXPECT_EQ(inserted->Index(), 1);
    EXPECT_EQ(inserted->ID(), 3);

    c.Delete(0);
    c.AddNamed("d");
    // Ids are never reused, so one found by id is the one that had it.
    EXPECT_EQ(c.Item(3)->ID(), 4);
    EXPECT_EQ(c.FindItemID(0), nullptr);
    EXPECT_EQ(c.FindItemID(3), inserted);

    c.Item(3)->SetIndex(0);
    EXPECT_EQ(Names(c), (std::vector<String>{"d", "x", "b", "c"}));
    EXPECT_EQ(c.Item(0)->DisplayName(), "d");
    TSampleItem unnamed(nullptr);
    EXPECT_EQ(unnamed.DisplayName(), "TSampleItem");
    EXPECT_EQ(unnamed.Index(), -1);

    EXPECT_THROW(c.Items(4), EListError);
    EXPECT_THROW(c.Delete(-1), EListError);
    EXPECT_THROW(c.Insert(5), EListError);
    EXPECT_THROW(c.Item(0)->SetIndex(4), EListError);
    EXPECT_EQ(Names(c), (std::vector<String>{"d", "x", "b", "c"}));
    EXPECT_EQ(TSampleItem::alive, 5);
  }
  EXPECT_EQ(TSampleItem::alive, 0);

  // A base collection, which no destructor of ours clears, frees its items too.
  {
    TCollection plain(NewSampleItem);
    plain.Add();
    plain.Add();
  }
  EXPECT_EQ(TSampleItem::alive, 0);
}

TEST(Collection, UpdateBracketReportsOnceWhenItCloses) {
  TRecordingCollection c;
  TSampleItem* a = c.AddNamed("a");
  c.updates.clear();

  a->SetName("a1");  // outside a bracket: the item itself
  c.ChangeAll();
  EXPECT_EQ(c.updates, (std::vector<String>{"a1", "*"}));

  c.updates.clear();
  c.BeginUpdate();
  c.BeginUpdate();
  a->SetName("a2");
  c.AddNamed("b");
  c.EndUpdate();
  c.Delete(0);
  EXPECT_TRUE(c.updates.empty());
  c.EndUpdate();
  EXPECT_EQ(c.updates, (std::vector<String>{"*"}));

  // A bracket in which nothing changed reports nothing.
  c.updates.clear();
  c.BeginUpdate();
  c.EndUpdate();
  c.EndUpdate();  // unbalanced: ignored
  EXPECT_TRUE(c.updates.empty());

  // Clear and Assign bracket their own work.
  TRecordingCollection source;
  source.AddNamed("p");
  source.AddNamed("q");
  c.Assign(&source);
  EXPECT_EQ(Names(c), (std::vector<String>{"p", "q"}));
  EXPECT_EQ(c.updates, (std::vector<String>{"*"}));
  c.updates.clear();
  c.Clear();
  EXPECT_EQ(c.updates, (std::vector<String>{"*"}));
}

TEST(Collection, NotifyFollowsItemsInAndOut) {
  TRecordingCollection first;
  TRecordingCollection second;
  first.AddNamed("a");
  TSampleItem* b = first.AddNamed("b");
  first.Delete(0);
  b->SetCollection(&second);
  EXPECT_EQ(first.notes, (std::vector<String>{"added 0", "added 1", "deleting 0", "extracting 0", "extracting 1"}));
  // In its new collection the item has a new id.
  EXPECT_EQ(second.notes, (std::vector<String>{"added 0"}));
  EXPECT_EQ(b->Collection(), &second);
  EXPECT_EQ(first.Count(), 0);
  EXPECT_EQ(second.Count(), 1);
}

TEST(Collection, OwnersAndAssignErrors) {
  TPersistent owner;
  TRecordingCollection c(&owner);
  TSampleItem* item = c.AddNamed("a");
  EXPECT_EQ(c.Owner(), &owner);
  EXPECT_EQ(item->OwnerForTest(), &c);
  TCollection unowned(NewSampleItem);
  EXPECT_EQ(unowned.Owner(), nullptr);

  // Assigning something that is not a collection raises and keeps the items.
  EXPECT_THROW(c.Assign(&owner), EConvertError);
  EXPECT_EQ(Names(c), (std::vector<String>{"a"}));

  TCollection noFactory(nullptr);
  EXPECT_THROW(noFactory.Add(), EInvalidOperation);
}
