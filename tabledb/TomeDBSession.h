// Sessions: named groups of databases with the settings they share (lock
// retries and wait, whether databases stay connected). Data sets find their
// database through the session named by their SessionName; a session
// creates a temporary database for a data set that names a file no database
// component stands for, and frees it when its last user lets go.
//
// One process-wide session list keeps every session; its default session,
// "Default", lives from the first use of the module to the end of the
// process. Failures are EDatabaseError with the texts below.
#pragma once

#include <memory>
#include <vector>

#include "platform/Components.h"
#include "platform/Lists.h"
#include "platform/Threads.h"
#include "tabledb/TomeDBDefs.h"

class TTomeDatabase;
class TTMEDataSet;

class TTomeSession : public TComponent {
 public:
  // "Cannot add a session to the form or data-module while session '%s'
  // has AutoSessionName enabled" when the owner holds such a session.
  explicit TTomeSession(TComponent* owner);
  ~TTomeSession() override;
  const char* ClassName() const override { return "TTomeSession"; }
  void SetName(const String& name) override;

  String About;

  bool Active() const { return active_; }
  // Activating runs OnStartup, needs a SessionName ("Session name
  // missing") and activates the default session too; deactivating frees
  // the temporary databases and closes the others, last first.
  void SetActive(bool value);
  const String& SessionName() const { return sessionName_; }
  void SetSessionName(const String& value);
  bool AutoSessionName() const { return autoSessionName_; }
  void SetAutoSessionName(bool value);
  bool KeepConnections() const { return keepConnections_; }
  void SetKeepConnections(bool value) { keepConnections_ = value; }
  bool SQLHourGlass() const { return sqlHourGlass_; }
  void SetSQLHourGlass(bool value) { sqlHourGlass_ = value; }
  // A negative value is stored as 0: wait without limit.
  int LockRetryCount() const { return lockRetryCount_; }
  void SetLockRetryCount(int value) { lockRetryCount_ = value < 0 ? 0 : value; }
  int LockWaitTime() const { return lockWaitTime_; }
  void SetLockWaitTime(int value) { lockWaitTime_ = value < 0 ? 0 : value; }
  TNotifyEvent OnStartup;

  // The first database of that name (ignoring case); one with an empty name
  // only when it is temporary. nullptr when none.
  TTomeDatabase* FindDatabase(std::string_view name) const;
  // The database for a data set: found, or created as a temporary one owned
  // by this session, then connected. A database created here that fails to
  // connect is freed. addReference counts the caller as a user.
  TTomeDatabase* OpenDatabase(const String& name, TComponent* owner, bool addReference, TTMEDataSet* dataSet);
  // Lets go of a reference; the last one closes a database that does not
  // keep its connection, and frees a temporary one.
  void CloseDatabase(TTomeDatabase* database);
  void AddDatabase(TTomeDatabase* database);
  void RemoveDatabase(TTomeDatabase* database);
  int DatabaseCount() const { return int(databases_.size()); }
  TTomeDatabase* Databases(int index) const { return databases_.at(size_t(index)); }

  // The process-wide session lock, re-entrant per session; the first lock
  // activates the session.
  void LockSession();
  void UnlockSession();

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void MakeAutomaticName();
  // Gives the owner's data sets and databases this session's name.
  void UpdateOwnerSessionNames();

  bool active_ = false;
  std::vector<TTomeDatabase*> databases_;
  bool keepConnections_ = false;
  String sessionName_;
  int autoSessionNumber_ = -1;
  bool autoSessionName_ = false;
  bool settingAutoName_ = false;
  bool sqlHourGlass_ = true;
  int lockCount_ = 0;
  bool streamedActive_ = false;
  int lockRetryCount_ = 20;
  int lockWaitTime_ = 100;
};

class TTomeSessionList : public TObject {
 public:
  TTomeSessionList();
  // Frees every remaining session, last first.
  ~TTomeSessionList() override;
  const char* ClassName() const override { return "TTomeSessionList"; }

  void AddSession(TTomeSession* session);
  void RemoveSession(TTomeSession* session);
  // An empty name gives the default session; otherwise the session of that
  // name ignoring case, nullptr when none.
  TTomeSession* FindSession(std::string_view name);
  // FindSession, failing with "Invalid session name %s".
  TTomeSession* SessionByName(std::string_view name);
  // "Default", made on first use; nullptr once the list is going away.
  TTomeSession* DefaultSession();
  // Copy of the session list, taken under its lock.
  std::vector<TTomeSession*> List();

  // The lowest free automatic number, now taken; and its release.
  int TakeAutoNumber();
  void ReleaseAutoNumber(int number);
  TCriticalSection& SessionLock() { return sessionLock_; }

 private:
  TThreadList sessions_;
  TBits autoNumbers_;
  TCriticalSection sessionLock_;
  TTomeSession* defaultSession_ = nullptr;
  bool makingDefault_ = false;
  bool shuttingDown_ = false;
};

// The process's session list and its default session.
TTomeSessionList& Sessions();
TTomeSession* Session();
