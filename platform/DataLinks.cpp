#include "DataLinks.h"

#include <algorithm>

// --- TDataSource ------------------------------------------------------------------------

TDataSource::TDataSource(TComponent* owner) : TComponent(owner) {}

TDataSource::~TDataSource() {
  Destroying();
  SetDataSet(nullptr);
  while (!links_.empty()) links_.back()->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  // The data set must not follow this source, through any chain of masters.
  for (TDataSet* master = dataSet; master;) {
    TDataSource* source = master->GetDataSource();
    if (source == this) DatabaseError("Circular datalinks are not allowed", dataSet);
    master = source ? source->DataSet() : nullptr;
  }
  if (dataSet_) dataSet_->RemoveDataSource(this);
  dataSet_ = dataSet;
  if (dataSet_) dataSet_->AddDataSource(this);
  UpdateState();
}

void TDataSource::SetEnabled(bool enabled) {
  enabled_ = enabled;
  UpdateState();
}

void TDataSource::UpdateState() {
  TDataSetState state = enabled_ && dataSet_ ? dataSet_->State() : dsInactive;
  if (state == state_) return;
  state_ = state;
  NotifyLinks(deUpdateState, 0);
}

void TDataSource::DataEvent(TDataEvent event, intptr_t info) {
  if (event == deUpdateState)
    UpdateState();
  else if (state_ != dsInactive)
    NotifyLinks(event, info);
}

void TDataSource::NotifyLinks(TDataEvent event, intptr_t info) {
  // A link may leave the source while it hears of the event.
  std::vector<TDataLink*> links = links_;
  for (TDataLink* link : links)
    if (std::find(links_.begin(), links_.end(), link) != links_.end()) link->DataEvent(event, info);
}

// --- TDataLink ---------------------------------------------------------------------------

TDataLink::~TDataLink() { SetDataSource(nullptr); }

void TDataLink::SetDataSource(TDataSource* source) {
  if (source == dataSource_) return;
  if (dataSource_) {
    auto& links = dataSource_->links_;
    links.erase(std::remove(links.begin(), links.end(), this), links.end());
  }
  dataSource_ = source;
  if (dataSource_) dataSource_->links_.push_back(this);
  UpdateState();
}

void TDataLink::UpdateState() {
  bool active = dataSource_ && dataSource_->State() != dsInactive;
  if (active == active_) return;
  active_ = active;
  ActiveChanged();
}

void TDataLink::DataEvent(TDataEvent event, intptr_t info) {
  switch (event) {
    case deFieldChange:
    case deRecordChange: RecordChanged(reinterpret_cast<TField*>(info)); break;
    case deDataSetChange:
    case deDataSetScroll: DataSetChanged(); break;
    case deLayoutChange: LayoutChanged(); break;
    case deUpdateRecord: UpdateData(); break;
    case deUpdateState: UpdateState(); break;
    case deCheckBrowseMode: CheckBrowseMode(); break;
    default: break;
  }
}

// --- TMasterDataLink -----------------------------------------------------------------------

void TMasterDataLink::SetFieldNames(const String& names) {
  if (names == fieldNames_) return;
  std::vector<TField*> fields;
  if (Active()) fields = DataSet()->GetFieldList(names);
  fieldNames_ = names;
  fields_ = std::move(fields);
  TellDetail();
}

void TMasterDataLink::ActiveChanged() {
  fields_.clear();
  if (Active()) fields_ = DataSet()->GetFieldList(fieldNames_);
  TellDetail();
}

void TMasterDataLink::TellDetail() {
  if (!detail_->Active() || detail_->IsDestroying()) return;
  if (Active() && !fields_.empty()) {
    if (OnMasterChange) OnMasterChange(this);
  } else if (OnMasterDisable) {
    OnMasterDisable(this);
  }
}

void TMasterDataLink::RecordChanged(TField* field) {
  // While the master fills a key buffer its fields hold no record's values.
  if (DataSource()->State() == dsSetKey || !detail_->Active() || fields_.empty()) return;
  if (field && std::find(fields_.begin(), fields_.end(), field) == fields_.end()) return;
  if (OnMasterChange) OnMasterChange(this);
}

void TMasterDataLink::CheckBrowseMode() {
  if (detail_->Active()) detail_->CheckBrowseMode();
}
