// The database component: connection, password check, table storage
// objects, the data sets that use it, and the auto-flush timer.
#include "tabledb/TomeDBDatabase.h"

#include <algorithm>

#include "tabledb/TomeDBData.h"
#include "tabledb/TomeDBSession.h"

namespace {

TTomeTimerFactory& TimerFactory() {
  static TTomeTimerFactory factory;
  return factory;
}

TTomeLoginHook& LoginHook() {
  static TTomeLoginHook hook;
  return hook;
}

}  // namespace

// --- hooks -------------------------------------------------------------------------------------

void TTomeTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Changed();
}

void TTomeTimer::SetInterval(unsigned value) {
  if (value == interval_) return;
  interval_ = value;
  Changed();
}

void TTomeTimer::Tick() {
  if (enabled_ && OnTimer) OnTimer(nullptr);
}

TTomeTimerFactory SetTomeTimerFactory(TTomeTimerFactory factory) {
  return std::exchange(TimerFactory(), std::move(factory));
}

TTomeLoginHook SetTomeLoginHook(TTomeLoginHook hook) { return std::exchange(LoginHook(), std::move(hook)); }

bool TTomeDatabase::ShowLoginDialog(const String& databaseName, String& password) {
  return LoginHook() && LoginHook()(databaseName, password);
}

// --- life -------------------------------------------------------------------------------------------

TTomeDatabase::TTomeDatabase(TComponent* owner) : TComponent(owner), tableDefs_(this) {
  auto* ownerSession = dynamic_cast<TTomeSession*>(owner);
  session_ = ownerSession ? ownerSession : ::Session();
  sessionName_ = session_->SessionName();
  session_->AddDatabase(this);
  flushTimer_ = TimerFactory() ? TimerFactory()() : std::make_unique<TTomeTimer>();
  flushTimer_->SetInterval(unsigned(autoFlushInterval_));
  flushTimer_->OnTimer = [this](TObject*) {
    if (fileIO_ && !fileIO_->IsFlushed()) FlushCache();
  };
}

TTomeDatabase::~TTomeDatabase() {
  Destroying();
  if (session_) session_->RemoveDatabase(this);
  SetConnected(false);
}

void TTomeDatabase::FreeTemporary() { delete this; }

// --- connection -------------------------------------------------------------------------------------

void TTomeDatabase::SetConnected(bool value) {
  if (IsLoading()) {
    if (value) streamedConnected_ = true;
    return;
  }
  if (value == Connected()) return;
  if (value) {
    if (BeforeConnect) BeforeConnect(this);
    DoConnect();
    for (TTMBDataSet* dataSet : std::vector<TTMBDataSet*>(dataSets_)) dataSet->DataEvent(deConnectChange, 1);
    if (AfterConnect) AfterConnect(this);
    return;
  }
  if (BeforeDisconnect && !IsDestroying()) BeforeDisconnect(this);
  for (TTMBDataSet* dataSet : std::vector<TTMBDataSet*>(dataSets_)) dataSet->DataEvent(deConnectChange, 0);
  DoDisconnect();
  if (AfterDisconnect && !IsDestroying()) AfterDisconnect(this);
}

void TTomeDatabase::DoConnect() {
  if (databaseName_.empty() && !temporary_) DatabaseError("Database name missing");
  ValidateSession(true);
  if (!fileIO_) fileIO_ = std::make_unique<TTomeDBFileIO>(this);
  fileIO_->OnCompressProgress = OnCompressProgress;
  fileIO_->OnUncompressProgress = OnUncompressProgress;
  fileIO_->OnEncryptProgress = OnEncryptProgress;
  fileIO_->OnDecryptProgress = OnDecryptProgress;
  fileIO_->GetLockPolicy = [this] {
    TTomeLockPolicy policy;
    if (session_) policy = {session_->LockRetryCount(), session_->LockWaitTime()};
    return policy;
  };
  try {
    fileIO_->Open(EffectiveFileName(), mediumType_, 0, readOnly_, exclusive_);
    canAccess_ = !fileIO_->ExtensionHeader().EncryptFlag();
    if (!canAccess_ && passwordGiven_) canAccess_ = fileIO_->CheckPassword(password_);
    TStringList names;
    fileIO_->GetTableNames(names);
    for (int i = 0; i < names.Count(); ++i) {
      TTomeTableDef* def = tableDefs_.Add();
      def->SetName(names.Strings(i));
      def->TableIdx = i;
      tableIOs_.push_back(std::make_unique<TTomeTableIO>(*fileIO_, names.Strings(i)));
    }
  } catch (...) {
    tableIOs_.clear();
    tableDefs_.Clear();
    canAccess_ = false;
    fileIO_.reset();
    throw;
  }
}

void TTomeDatabase::DoDisconnect() {
  if (fileIO_) {
    // Data sets close first: they release their tables, which must not
    // outlive the file they read.
    disconnecting_ = true;
    try {
      CloseDataSets();
    } catch (...) {
      disconnecting_ = false;
      throw;
    }
    disconnecting_ = false;
    tableIOs_.clear();
    fileIO_.reset();
    refCount_ = 0;
    password_.clear();
    passwordGiven_ = false;
    tableDefs_.Clear();
  }
  canAccess_ = false;
}

void TTomeDatabase::CloseDataSets() {
  while (!dataSets_.empty()) {
    const size_t before = dataSets_.size();
    TTMBDataSet* dataSet = dataSets_.back();
    dataSet->Disconnect();
    // A data set that did not leave the list by closing is dropped from it.
    if (dataSets_.size() == before && dataSets_.back() == dataSet) dataSets_.pop_back();
  }
}

void TTomeDatabase::SetPassword(const String& password) {
  password_ = password;
  passwordGiven_ = true;
  if (Connected()) canAccess_ = fileIO_->CheckPassword(password);
}

int TTomeDatabase::ReleaseReference() {
  if (refCount_ > 0) --refCount_;
  return refCount_;
}

void TTomeDatabase::CheckSessionAccess() {
  if (canAccess_) return;
  if (passwordGiven_) {
    SetPassword(password_);
  } else if (LoginHook()) {
    String password;
    if (!ShowLoginDialog(EffectiveFileName(), password)) Abort();
    SetPassword(password);
  }
  if (!canAccess_) DatabaseError("Access denied");
}

void TTomeDatabase::CheckCanModify() {
  if (readOnly_ || (fileIO_ && fileIO_->IsReadOnly())) DatabaseError("Cannot modify a read-only database");
}

void TTomeDatabase::AddDataSet(TComponent* dataSet) {
  auto* tmb = dynamic_cast<TTMBDataSet*>(dataSet);
  if (tmb && std::find(dataSets_.begin(), dataSets_.end(), tmb) == dataSets_.end()) dataSets_.push_back(tmb);
}

void TTomeDatabase::RemoveDataSet(TComponent* dataSet) {
  if (auto* tmb = dynamic_cast<TTMBDataSet*>(dataSet)) std::erase(dataSets_, tmb);
}

void TTomeDatabase::FlushCache() {
  if (fileIO_) fileIO_->Flush();
}

void TTomeDatabase::GetTableNames(TStrings& names) const {
  names.Clear();
  if (Connected()) fileIO_->GetTableNames(names);
}

TTomeTableIO* TTomeDatabase::FindTableIO(std::string_view tableName) const {
  for (const auto& table : tableIOs_)
    if (AnsiSameText(table->TableName(), tableName)) return table.get();
  return nullptr;
}

bool TTomeDatabase::IsEncrypted() const {
  if (!Connected()) DatabaseError("Cannot perform this operation on a closed database");
  return fileIO_->ExtensionHeader().EncryptFlag();
}

bool TTomeDatabase::IsCompressed() const {
  if (!Connected()) DatabaseError("Cannot perform this operation on a closed database");
  return fileIO_->ExtensionHeader().CompressFlag();
}

bool TTomeDatabase::IsWriteVerify() const {
  if (!Connected()) DatabaseError("Cannot perform this operation on a closed database");
  return fileIO_->ExtensionHeader().WriteVerify();
}

// --- session -------------------------------------------------------------------------------------

void TTomeDatabase::ValidateSession(bool activate) {
  TTomeSession* session = activate ? Sessions().SessionByName(sessionName_) : Sessions().FindSession(sessionName_);
  if (!session) return;
  if (session != session_) {
    if (session_) {
      session_->RemoveDatabase(this);
      RemoveFreeNotification(session_);
    }
    session_ = session;
    session_->FreeNotification(this);
    session_->AddDatabase(this);
    try {
      CheckDuplicateName(databaseName_);
    } catch (...) {
      databaseName_.clear();
      throw;
    }
  }
  if (activate) session_->SetActive(true);
}

void TTomeDatabase::CheckDuplicateName(const String& name) {
  if (name.empty() || !session_) return;
  for (int i = 0; i < session_->DatabaseCount(); ++i) {
    TTomeDatabase* other = session_->Databases(i);
    if (other == this || !AnsiSameText(other->DatabaseName(), name)) continue;
    if (!other->Temporary() || other->RefCount() > 0) DatabaseErrorFmt("Duplicate database name '%s'", {name});
    // An unused temporary database gives way.
    delete other;
    return;
  }
}

void TTomeDatabase::CheckInactive() {
  if (!Connected()) return;
  if (IsDesigning())
    Close();
  else
    DatabaseError("Cannot perform this operation on an open database");
}

// --- properties -----------------------------------------------------------------------------------

void TTomeDatabase::SetDatabaseName(const String& value) {
  if (value == databaseName_) return;
  CheckInactive();
  CheckDuplicateName(value);
  databaseName_ = value;
}

void TTomeDatabase::SetFileName(const String& value) {
  if (value == fileName_) return;
  CheckInactive();
  fileName_ = value;
}

void TTomeDatabase::SetSessionName(const String& value) {
  if (IsLoading()) {
    sessionName_ = value;
    return;
  }
  CheckInactive();
  if (value == sessionName_) return;
  sessionName_ = value;
  ValidateSession(false);
}

void TTomeDatabase::SetMediumType(TTomeDBMediumType value) {
  if (value == mediumType_) return;
  CheckInactive();
  mediumType_ = value;
  for (TTMBDataSet* dataSet : dataSets_)
    if (auto* tme = dynamic_cast<TTMEDataSet*>(dataSet)) tme->SetMediumType(value);
}

void TTomeDatabase::SetExclusive(bool value) {
  CheckInactive();
  exclusive_ = value;
}

void TTomeDatabase::SetReadOnly(bool value) {
  CheckInactive();
  readOnly_ = value;
}

void TTomeDatabase::SetKeepConnection(bool value) {
  if (value == keepConnection_) return;
  keepConnection_ = value;
  if (!value && refCount_ == 0) Close();
}

void TTomeDatabase::SetAutoFlush(bool value) {
  if (value == autoFlush_) return;
  autoFlush_ = value;
  if (value) flushTimer_->SetInterval(unsigned(autoFlushInterval_));
  flushTimer_->SetEnabled(value);
}

void TTomeDatabase::SetAutoFlushInterval(int value) {
  if (value == autoFlushInterval_) return;
  autoFlushInterval_ = value;
  if (flushTimer_->Enabled()) flushTimer_->SetInterval(unsigned(value));
}

// --- streaming ---------------------------------------------------------------------------------------

void TTomeDatabase::Loaded() {
  TComponent::Loaded();
  if (streamedConnected_)
    SetConnected(true);
  else
    ValidateSession(false);
}

void TTomeDatabase::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove || component != session_ || session_ == Sessions().DefaultSession()) return;
  Close();
  session_->RemoveDatabase(this);
  session_ = nullptr;
  SetSessionName(String());
}
