// The class registries, weak links, the sortable collection and the small
// helpers of the core classes.
#include <gtest/gtest.h>

#include "foundation/vxClasses.h"

namespace {

// Base <- A <- B <- C, and A <- D.
const TClassInfo Base("TBase", nullptr), A("TA", &Base), B("TB", &A), C("TC", &B), D("TD", &A);
const TClassInfo X("TX", nullptr), Y("TY", nullptr), Z("TZ", nullptr), Unrelated("TU", nullptr);

TEST(RegisteredClassList, KeepsAncestorsBeforeDescendants) {
  TvxRegisteredClassList list;
  list.Register(&A, &X);
  list.Register(&B, &Y);
  list.Register(&Base, &Z);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Items(0).ItemClass, &Base);
  EXPECT_EQ(list.Items(1).ItemClass, &A);
  EXPECT_EQ(list.Items(2).ItemClass, &B);

  struct Case {
    TClass find;
    bool found;
    int index;
  } cases[] = {{&B, true, 2}, {&C, true, 2}, {&D, true, 1}, {&Base, true, 0}, {&Unrelated, false, -1}};
  for (const Case& c : cases) {
    int index = 99;
    EXPECT_EQ(list.Find(c.find, index), c.found) << c.find->ClassName();
    EXPECT_EQ(index, c.index) << c.find->ClassName();
  }
  EXPECT_EQ(list.FindClass(&C), &Y);
  EXPECT_EQ(list.FindClass(&D), &X);

  list.Unregister(&A, &Y);  // right item class, other registered class
  EXPECT_EQ(list.Count(), 3);
  list.Unregister(&A, &X);
  EXPECT_EQ(list.FindClass(&D), &Z);
}

TEST(RegisteredClassList, FindWithOnlyDescendantsReportsTheFirstOfThem) {
  TvxRegisteredClassList list;
  list.Register(&C, &X);
  list.Register(&D, &Y);
  int index = 99;
  EXPECT_FALSE(list.Find(&A, index));
  EXPECT_EQ(index, 0);
  list.Register(&A, &Z);  // goes before its first descendant
  EXPECT_EQ(list.Items(0).ItemClass, &A);
}

TEST(RegisteredClasses, DescriptionsAndSorting) {
  TvxRegisteredClasses classes;
  classes.Register(&B, "beta|the hint");
  classes.Register(&A, "Alpha");
  classes.Register(&B, "again");
  ASSERT_EQ(classes.Count(), 2);
  EXPECT_EQ(classes.GetDisplayName(0), "beta");
  EXPECT_EQ(classes.GetDisplayName(1), "Alpha");
  classes.SetSorted(true);
  EXPECT_EQ(classes.Items(0), &A);
  classes.Register(&C, "Able");
  EXPECT_EQ(classes.Items(0), &C);
  classes.Unregister(&A);
  EXPECT_EQ(classes.IndexOf(&A), -1);
}

TEST(ObjectLinks, ALinkReadsNilOnceItsObjectIsDestroyed) {
  auto* component = new TvxComponent(nullptr);
  TvxObjectLink* first = vxNewObjectLink(component);
  TvxObjectLink* second = vxNewObjectLink(component);
  TObject other;
  TvxObjectLink* third = vxNewObjectLink(&other);
  EXPECT_EQ(vxNewObjectLink(nullptr), nullptr);
  EXPECT_EQ(vxObjectLinkCount(), 3);

  delete component;
  EXPECT_EQ(first->Ref, nullptr);
  EXPECT_EQ(second->Ref, nullptr);
  EXPECT_EQ(third->Ref, &other);

  vxFreeObjectLink(first);
  vxFreeObjectLink(second);
  vxFreeObjectLink(nullptr);
  EXPECT_EQ(vxObjectLinkCount(), 1);
  vxFreeObjectLink(third);
  EXPECT_EQ(vxObjectLinkCount(), 0);
}

class Item : public TCollectionItem {
 public:
  Item(TCollection* c, int key = 0) : TCollectionItem(c), key(key) {}
  int key;
};

TEST(OwnedInterfacedCollection, SortsWhenTheUpdateEnds) {
  TvxOwnedInterfacedCollection items(nullptr, [](TCollection* c) { return new Item(c); });
  items.OnCompare = [](auto*, TCollectionItem* a, TCollectionItem* b) {
    return static_cast<Item*>(a)->key - static_cast<Item*>(b)->key;
  };
  int changes = 0;
  items.OnChange = [&](auto*, TCollectionItem*) { ++changes; };
  items.BeginUpdate();
  for (int key : {3, 1, 2}) static_cast<Item*>(items.Add())->key = key;
  items.SetSorted(true);  // an update is pending: nothing moves yet
  EXPECT_EQ(static_cast<Item*>(items.Items(0))->key, 3);
  items.EndUpdate();
  EXPECT_EQ(static_cast<Item*>(items.Items(0))->key, 1);
  EXPECT_EQ(static_cast<Item*>(items.Items(2))->key, 3);
  EXPECT_GE(changes, 1);
}

TEST(ObjectList, FreesWhatItOwns) {
  struct Counted : TObject {
    explicit Counted(int* n) : n(n) { ++*n; }
    ~Counted() override { --*n; }
    int* n;
  };
  int alive = 0;
  {
    TvxObjectList owning(true);
    owning.Add(new Counted(&alive));
    auto* second = new Counted(&alive);
    owning.Add(second);
    EXPECT_EQ(owning.FreeAndRemove(second), 1);
    EXPECT_EQ(owning.FreeAndRemove(second), -1);
    EXPECT_EQ(alive, 1);
  }
  EXPECT_EQ(alive, 0);
}

TEST(FreeNotificator, ReportsAComponentThatGoes) {
  TvxFreeNotificator notificator(nullptr);
  TComponent* seen = nullptr;
  notificator.OnFreeNotification = [&](TComponent* c) { seen = c; };
  auto* watched = new TComponent(nullptr);
  notificator.Subscribe(watched);
  notificator.Subscribe(nullptr);
  delete watched;
  EXPECT_EQ(seen, watched);
}

TEST(ClassHelpers, SmallFunctions) {
  struct Case {
    int a, b, want;
  } centers[] = {{3, 4, 3}, {-3, 0, -2}, {-1, 0, -1}, {1, 2, 1}, {INT32_MAX, INT32_MAX, INT32_MAX}, {-7, -7, -7}};
  for (const Case& c : centers) EXPECT_EQ(vxRangeCenter(c.a, c.b), c.want) << c.a << " " << c.b;
  EXPECT_EQ(vxSignOfFloat(0.0), 1);
  EXPECT_EQ(vxSignOfFloat(-0.5), -1);
  EXPECT_EQ(vxDescriptionDisplayName("Name|Hint"), "Name");
  EXPECT_EQ(vxDescriptionDisplayName("Whole"), "Whole");
  EXPECT_EQ(vxCharByteLength("abc", 3), 1);
  EXPECT_EQ(vxCharByteLength("abc", 4), 0);
  EXPECT_EQ(vxCharByteLength("", 1), 0);
}

}  // namespace
