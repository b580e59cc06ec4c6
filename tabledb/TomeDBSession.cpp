// Sessions and the process-wide session list.
#include "tabledb/TomeDBSession.h"

#include "tabledb/TomeDBData.h"
#include "tabledb/TomeDBDatabase.h"

namespace {

// Every session of the owner other than skip.
std::vector<TTomeSession*> OwnerSessions(const TComponent* owner, const TTomeSession* skip) {
  std::vector<TTomeSession*> sessions;
  if (!owner) return sessions;
  for (int i = 0; i < owner->ComponentCount(); ++i)
    if (auto* session = dynamic_cast<TTomeSession*>(owner->Components(i)); session && session != skip)
      sessions.push_back(session);
  return sessions;
}

}  // namespace

// --- TTomeSession ------------------------------------------------------------------------------

TTomeSession::TTomeSession(TComponent* owner) : TComponent(owner) {
  for (TTomeSession* other : OwnerSessions(owner, this))
    if (other->AutoSessionName()) {
      // The component is already on the owner: take it off before failing.
      owner->RemoveComponent(this);
      DatabaseErrorFmt(
          "Cannot add a session to the form or data-module while session '%s' has AutoSessionName enabled",
          {other->Name()});
    }
  // The default session exists before any other, so that none takes its name.
  Sessions().DefaultSession();
  Sessions().AddSession(this);
}

TTomeSession::~TTomeSession() {
  Destroying();
  SetActive(false);
  // Databases registered here that other owners keep go to the default
  // session, or to none when this is the default session going away.
  while (!databases_.empty()) {
    TTomeDatabase* database = databases_.back();
    database->Close();
    RemoveDatabase(database);
    database->session_ = nullptr;
    if (TTomeSession* fallback = Sessions().DefaultSession(); fallback && fallback != this) {
      database->session_ = fallback;
      database->sessionName_ = fallback->SessionName();
      fallback->AddDatabase(database);
    }
  }
  if (autoSessionNumber_ >= 0) Sessions().ReleaseAutoNumber(autoSessionNumber_);
  Sessions().RemoveSession(this);
  DestroyComponents();
}

void TTomeSession::SetName(const String& name) {
  TComponent::SetName(name);
  if (autoSessionName_) MakeAutomaticName();
}

void TTomeSession::SetActive(bool value) {
  if (IsLoading()) {
    streamedActive_ = value;
    return;
  }
  if (value == active_) return;
  std::lock_guard<TCriticalSection> guard(Sessions().SessionLock());
  if (value) {
    if (OnStartup) OnStartup(this);
    if (sessionName_.empty()) DatabaseError("Session name missing");
    if (TTomeSession* defaultSession = Sessions().DefaultSession(); defaultSession != this)
      defaultSession->SetActive(true);
  } else {
    for (size_t i = databases_.size(); i-- > 0;) {
      if (i >= databases_.size()) continue;
      TTomeDatabase* database = databases_[i];
      if (database->Temporary())
        delete database;
      else
        database->Close();
    }
  }
  active_ = value;
}

void TTomeSession::SetSessionName(const String& value) {
  if (autoSessionName_ && !settingAutoName_)
    DatabaseError("Cannot modify SessionName while AutoSessionName is enabled");
  if (active_) DatabaseError("Cannot perform this operation on an active session");
  if (!value.empty())
    for (TTomeSession* other : Sessions().List())
      if (other != this && AnsiSameText(other->SessionName(), value))
        DatabaseErrorFmt("Duplicate session name '%s'", {value});
  sessionName_ = value;
}

void TTomeSession::SetAutoSessionName(bool value) {
  if (value == autoSessionName_) return;
  if (value) {
    if (active_) DatabaseError("Cannot perform this operation on an active session");
    if (!OwnerSessions(Owner(), this).empty())
      DatabaseError("Cannot enable AutoSessionName property with more than one session on a form or data-module");
    autoSessionNumber_ = Sessions().TakeAutoNumber();
    autoSessionName_ = true;
    try {
      MakeAutomaticName();
    } catch (...) {
      Sessions().ReleaseAutoNumber(autoSessionNumber_);
      autoSessionNumber_ = -1;
      autoSessionName_ = false;
      throw;
    }
    return;
  }
  Sessions().ReleaseAutoNumber(autoSessionNumber_);
  autoSessionNumber_ = -1;
  autoSessionName_ = false;
}

void TTomeSession::MakeAutomaticName() {
  settingAutoName_ = true;
  try {
    SetSessionName(Format("%s_%d", {Name(), autoSessionNumber_ + 1}));
  } catch (...) {
    settingAutoName_ = false;
    throw;
  }
  settingAutoName_ = false;
  UpdateOwnerSessionNames();
}

void TTomeSession::UpdateOwnerSessionNames() {
  if (!Owner()) return;
  for (int i = 0; i < Owner()->ComponentCount(); ++i) {
    TComponent* component = Owner()->Components(i);
    if (auto* dataSet = dynamic_cast<TTMBDataSet*>(component)) {
      if (!AnsiSameText(dataSet->SessionName(), sessionName_)) dataSet->SetSessionName(sessionName_);
    } else if (auto* database = dynamic_cast<TTomeDatabase*>(component)) {
      if (!AnsiSameText(database->SessionName(), sessionName_)) database->SetSessionName(sessionName_);
    }
  }
}

void TTomeSession::Loaded() {
  TComponent::Loaded();
  if (autoSessionName_) UpdateOwnerSessionNames();
  if (streamedActive_) SetActive(true);
}

void TTomeSession::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (!autoSessionName_ || operation != opInsert || !component || component->Owner() != Owner()) return;
  if (auto* dataSet = dynamic_cast<TTMBDataSet*>(component)) {
    dataSet->SetSessionName(sessionName_);
  } else if (auto* database = dynamic_cast<TTomeDatabase*>(component)) {
    database->sessionName_ = sessionName_;
    database->ValidateSession(false);
  }
}

TTomeDatabase* TTomeSession::FindDatabase(std::string_view name) const {
  for (TTomeDatabase* database : databases_) {
    if (database->DatabaseName().empty() && !database->Temporary()) continue;
    if (AnsiSameText(database->DatabaseName(), name)) return database;
  }
  return nullptr;
}

TTomeDatabase* TTomeSession::OpenDatabase(const String& name, TComponent*, bool addReference, TTMEDataSet* dataSet) {
  LockSession();
  try {
    TTomeDatabase* database = FindDatabase(name);
    if (!database) {
      auto created = std::make_unique<TTomeDatabase>(this);
      if (dataSet) created->SetMediumType(dataSet->MediumType());
      created->SetDatabaseName(name);
      created->SetKeepConnection(keepConnections_);
      created->SetTemporary(true);
      created->Open();
      database = created.release();
    } else {
      database->Open();
    }
    if (addReference) database->AddReference();
    UnlockSession();
    return database;
  } catch (...) {
    UnlockSession();
    throw;
  }
}

void TTomeSession::CloseDatabase(TTomeDatabase* database) {
  if (database->ReleaseReference() != 0 || database->KeepConnection()) return;
  if (!database->Temporary())
    database->Close();
  else if (!database->IsDestroying() && !database->disconnecting_)
    database->FreeTemporary();
}

void TTomeSession::AddDatabase(TTomeDatabase* database) {
  for (TTomeDatabase* d : databases_)
    if (d == database) return;
  databases_.push_back(database);
}

void TTomeSession::RemoveDatabase(TTomeDatabase* database) {
  std::erase(databases_, database);
}

void TTomeSession::LockSession() {
  if (lockCount_ == 0) {
    Sessions().SessionLock().Enter();
    lockCount_ = 1;
    try {
      if (!active_) SetActive(true);
    } catch (...) {
      lockCount_ = 0;
      Sessions().SessionLock().Leave();
      throw;
    }
    return;
  }
  ++lockCount_;
}

void TTomeSession::UnlockSession() {
  if (lockCount_ == 0) return;
  if (--lockCount_ == 0) Sessions().SessionLock().Leave();
}

// --- TTomeSessionList ------------------------------------------------------------------------------

TTomeSessionList::TTomeSessionList() = default;

TTomeSessionList::~TTomeSessionList() {
  shuttingDown_ = true;
  defaultSession_ = nullptr;
  for (std::vector<TTomeSession*> sessions = List(); !sessions.empty(); sessions = List()) delete sessions.back();
}

void TTomeSessionList::AddSession(TTomeSession* session) { sessions_.Add(session); }

void TTomeSessionList::RemoveSession(TTomeSession* session) {
  sessions_.Remove(session);
  if (session == defaultSession_) defaultSession_ = nullptr;
}

TTomeSession* TTomeSessionList::DefaultSession() {
  std::lock_guard<TCriticalSection> guard(sessionLock_);
  if (defaultSession_ || makingDefault_ || shuttingDown_) return defaultSession_;
  makingDefault_ = true;
  try {
    auto session = std::make_unique<TTomeSession>(nullptr);
    session->SetSessionName("Default");
    defaultSession_ = session.release();
  } catch (...) {
    makingDefault_ = false;
    throw;
  }
  makingDefault_ = false;
  return defaultSession_;
}

std::vector<TTomeSession*> TTomeSessionList::List() {
  std::vector<TTomeSession*> list;
  TList* sessions = sessions_.LockList();
  for (int i = 0; i < sessions->Count(); ++i) list.push_back(static_cast<TTomeSession*>(sessions->Items(i)));
  sessions_.UnlockList();
  return list;
}

TTomeSession* TTomeSessionList::FindSession(std::string_view name) {
  if (name.empty()) return DefaultSession();
  for (TTomeSession* session : List())
    if (AnsiSameText(session->SessionName(), name)) return session;
  return nullptr;
}

TTomeSession* TTomeSessionList::SessionByName(std::string_view name) {
  TTomeSession* session = FindSession(name);
  if (!session) DatabaseErrorFmt("Invalid session name %s", {String(name)});
  return session;
}

int TTomeSessionList::TakeAutoNumber() {
  std::lock_guard<TCriticalSection> guard(sessionLock_);
  const int number = autoNumbers_.OpenBit();
  autoNumbers_.SetBits(number, true);
  return number;
}

void TTomeSessionList::ReleaseAutoNumber(int number) {
  std::lock_guard<TCriticalSection> guard(sessionLock_);
  if (number >= 0 && number < autoNumbers_.Size()) autoNumbers_.SetBits(number, false);
}

TTomeSessionList& Sessions() {
  static TTomeSessionList list;
  return list;
}

TTomeSession* Session() { return Sessions().DefaultSession(); }
