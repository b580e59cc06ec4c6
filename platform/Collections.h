// Collections: ordered, owned lists of persistent items of one kind, the
// shape in which components publish their repeated settings (buttons of an
// edit, pictures of a container, items of a splash screen).
//
// A collection owns its items and builds new ones with the item factory it
// was given. Every change ends in Update(item) (nullptr: the whole
// collection changed). Inside a BeginUpdate/EndUpdate bracket changes are
// remembered and reported once, as Update(nullptr), when the bracket
// closes; a bracket without a change reports nothing.
//
// Notify tells the collection of items entering (cnAdded, after the item
// is in the list), about to be deleted by the collection (cnDeleting, the
// item still whole) and leaving it (cnExtracting, which follows cnDeleting
// as a deleted item goes). An item joins its
// collection from the TCollectionItem constructor and leaves it from the
// destructor, so cnAdded and a cnExtracting that comes from destroying an
// item see only the TCollectionItem part of it.
#pragma once

#include <functional>

#include "Components.h"
#include "Lists.h"

class TCollection;

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
 public:
  // Joins collection (when given) at its end.
  explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;
  TCollectionItem(const TCollectionItem&) = delete;
  TCollectionItem& operator=(const TCollectionItem&) = delete;
  const char* ClassName() const override { return "TCollectionItem"; }

  TCollection* Collection() const { return collection_; }
  // Leaves the current collection and joins the new one at its end.
  void SetCollection(TCollection* collection);
  // Unique within the collection for its lifetime, never reused.
  int ID() const { return id_; }
  // Position in the collection, -1 when in none.
  int Index() const;
  // Moves the item; EListError for a position outside the collection.
  void SetIndex(int index);
  String DisplayName() const { return GetDisplayName(); }
  // Here only reports a change; items with a name of their own store it.
  virtual void SetDisplayName(const String& name);

 protected:
  // Reports a change of this item (allItems: of the whole collection).
  void Changed(bool allItems);
  // The class name unless overridden.
  virtual String GetDisplayName() const;
  TPersistent* GetOwner() const override;

 private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
  int id_ = 0;
};

using TCollectionItemFactory = std::function<TCollectionItem*(TCollection* collection)>;

class TCollection : public TPersistent {
 public:
  // factory builds one item, normally `new TMyItem(collection)`.
  explicit TCollection(TCollectionItemFactory factory);
  ~TCollection() override;
  TCollection(const TCollection&) = delete;
  TCollection& operator=(const TCollection&) = delete;
  const char* ClassName() const override { return "TCollection"; }

  TCollectionItem* Add();
  TCollectionItem* Insert(int index);
  void Delete(int index);
  void Clear();
  void BeginUpdate();
  void EndUpdate();
  // Another collection: clears this one and adds one item per source item,
  // each assigned from its counterpart, all in one update bracket.
  void Assign(const TPersistent* source) override;

  int Count() const { return items_.Count(); }
  TCollectionItem* Items(int index) const { return static_cast<TCollectionItem*>(items_.Items(index)); }
  // Assigns value to the item at index.
  void SetItems(int index, const TCollectionItem* value) { Items(index)->Assign(value); }
  TCollectionItem* operator[](int index) const { return Items(index); }
  TCollectionItem* FindItemID(int id) const;
  const TCollectionItemFactory& ItemFactory() const { return factory_; }
  TPersistent* Owner() const { return GetOwner(); }

 protected:
  // Called for every reported change; item nullptr means all items.
  virtual void Update(TCollectionItem* item) {}
  virtual void Notify(TCollectionItem* item, TCollectionNotification action) {}
  // Reports a change of the whole collection.
  void Changed();
  int UpdateCount() const { return updateCount_; }

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item);
  void RemoveItem(TCollectionItem* item);
  void ItemChanged(TCollectionItem* item);
  void MoveItem(int curIndex, int newIndex);

  TCollectionItemFactory factory_;
  TList items_;
  int nextId_ = 0;
  int updateCount_ = 0;
  bool changePending_ = false;
};

// A collection that names its owner (for GetOwner and Owner).
class TOwnedCollection : public TCollection {
 public:
  TOwnedCollection(TPersistent* owner, TCollectionItemFactory factory)
      : TCollection(std::move(factory)), owner_(owner) {}
  const char* ClassName() const override { return "TOwnedCollection"; }

 protected:
  TPersistent* GetOwner() const override { return owner_; }

 private:
  TPersistent* owner_;
};
