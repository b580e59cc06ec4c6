// Data sources and data links: how objects follow a data set. A data source
// connects one data set to any number of links and passes the data set's
// events on to them; a link turns the events into small virtual calls.
//
// TMasterDataLink is the link through which a detail data set follows the
// current record of a master: it resolves the master's key fields and calls
// OnMasterChange whenever the master's record (or one of those fields)
// changes, and OnMasterDisable when the master closes or the link loses it.
#pragma once

#include <vector>

#include "DataSets.h"
#include "Lists.h"

class TDataLink;

class TDataSource : public TComponent {
 public:
  explicit TDataSource(TComponent* owner);
  ~TDataSource() override;
  const char* ClassName() const override { return "TDataSource"; }

  TDataSet* DataSet() const { return dataSet_; }
  // EDatabaseError "Circular datalinks are not allowed" when the data set
  // follows this source already, directly or through its masters.
  void SetDataSet(TDataSet* dataSet);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // The data set's state; dsInactive while disabled or without a data set.
  TDataSetState State() const { return state_; }

 private:
  friend class TDataSet;
  friend class TDataLink;
  void DataEvent(TDataEvent event, intptr_t info);
  void UpdateState();
  void NotifyLinks(TDataEvent event, intptr_t info);

  TDataSet* dataSet_ = nullptr;
  bool enabled_ = true;
  TDataSetState state_ = dsInactive;
  std::vector<TDataLink*> links_;
};

class TDataLink : public TPersistent {
 public:
  TDataLink() = default;
  ~TDataLink() override;
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;
  const char* ClassName() const override { return "TDataLink"; }

  TDataSource* DataSource() const { return dataSource_; }
  void SetDataSource(TDataSource* source);
  TDataSet* DataSet() const { return dataSource_ ? dataSource_->DataSet() : nullptr; }
  // The source has an open data set.
  bool Active() const { return active_; }

 protected:
  virtual void ActiveChanged() {}
  // field: the changed field, or nullptr for the whole record.
  virtual void RecordChanged(TField* field) {}
  // The data set moved or changed as a whole.
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  virtual void LayoutChanged() { DataSetChanged(); }
  // The data set is about to post, cancel or move.
  virtual void CheckBrowseMode() {}
  // The data set asks for pending values before it posts (UpdateRecord).
  virtual void UpdateData() {}

 private:
  friend class TDataSource;
  void DataEvent(TDataEvent event, intptr_t info);
  void UpdateState();

  TDataSource* dataSource_ = nullptr;
  bool active_ = false;
};

class TMasterDataLink : public TDataLink {
 public:
  // detail: the data set that follows the master.
  explicit TMasterDataLink(TDataSet* detail) : detail_(detail) {}
  const char* ClassName() const override { return "TMasterDataLink"; }

  TDataSet* DetailDataSet() const { return detail_; }
  // The master's key fields, separated by ";". While the link is active an
  // unknown name raises "Field '%s' not found" and changes nothing.
  const String& FieldNames() const { return fieldNames_; }
  void SetFieldNames(const String& names);
  // The master's fields named by FieldNames; empty while inactive.
  const std::vector<TField*>& Fields() const { return fields_; }

  // Sender is the link. Called only while the detail is open.
  TNotifyEvent OnMasterChange;
  TNotifyEvent OnMasterDisable;

 protected:
  void ActiveChanged() override;
  void RecordChanged(TField* field) override;
  void LayoutChanged() override { ActiveChanged(); }
  void CheckBrowseMode() override;

 private:
  void TellDetail();

  TDataSet* detail_;
  String fieldNames_;
  std::vector<TField*> fields_;
};
