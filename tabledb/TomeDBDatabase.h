// The database component: one database file while it is connected. It
// opens the file through TTomeDBFileIO, decides whether the user may use it
// (the database password), holds one table storage object per table, keeps
// the list of data sets that use it and flushes the file on a timer when
// asked.
//
// Two things a portable library cannot do itself are hooks that a program
// installs: the login dialog that asks for a password (the Windows side
// installs it, ui/TomeDBLogin.h) and the timer that drives the auto-flush.
// Without a login dialog a database that needs a password it was not given
// refuses access ("Access denied"); without a timer factory the flush timer
// keeps its settings and never fires on its own.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/Components.h"
#include "tabledb/DataProcess.h"
#include "tabledb/TomeDBDefs.h"
#include "tabledb/TomeDBFileAccess.h"
#include "tabledb/TomeDBFileTables.h"

class TTomeSession;
class TTMBDataSet;

// The auto-flush timer: settings kept here, ticking supplied by the host.
class TTomeTimer {
 public:
  virtual ~TTomeTimer() = default;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned value);
  TNotifyEvent OnTimer;
  // One tick: OnTimer, when enabled.
  void Tick();

 protected:
  // The host's timer follows the settings.
  virtual void Changed() {}

 private:
  bool enabled_ = false;
  unsigned interval_ = 60000;
};
using TTomeTimerFactory = std::function<std::unique_ptr<TTomeTimer>()>;
// Installs the factory of the timers that databases create from then on;
// returns the previous one.
TTomeTimerFactory SetTomeTimerFactory(TTomeTimerFactory factory);

// Asks the user for the password of the named database: true with the
// password entered, false when the user cancels.
using TTomeLoginHook = std::function<bool(const String& databaseName, String& password)>;
TTomeLoginHook SetTomeLoginHook(TTomeLoginHook hook);

class TTomeDatabase : public TComponent {
 public:
  explicit TTomeDatabase(TComponent* owner);
  ~TTomeDatabase() override;
  const char* ClassName() const override { return "TTomeDatabase"; }

  String About;

  void Open() { SetConnected(true); }
  void Close() { SetConnected(false); }
  bool Connected() const { return fileIO_ && fileIO_->IsOpen(); }
  void SetConnected(bool value);

  const String& DatabaseName() const { return databaseName_; }
  // "Duplicate database name '%s'" when another database of the session
  // has the name, unless that one is an unused temporary database, which
  // gives way and is freed.
  void SetDatabaseName(const String& value);
  // The file; when empty, DatabaseName is the file name.
  const String& FileName() const { return fileName_; }
  void SetFileName(const String& value);
  const String& SessionName() const { return sessionName_; }
  void SetSessionName(const String& value);
  TTomeSession* Session() const { return session_; }
  TTomeDBMediumType MediumType() const { return mediumType_; }
  void SetMediumType(TTomeDBMediumType value);
  bool Exclusive() const { return exclusive_; }
  void SetExclusive(bool value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  bool KeepConnection() const { return keepConnection_; }
  void SetKeepConnection(bool value);
  bool AutoFlush() const { return autoFlush_; }
  void SetAutoFlush(bool value);
  int AutoFlushInterval() const { return autoFlushInterval_; }
  void SetAutoFlushInterval(int value);
  TTomeTimer& FlushTimer() { return *flushTimer_; }

  // Stores the password; when connected it is checked at once (a right one
  // becomes the cipher key).
  void SetPassword(const String& password);
  bool CanAccess() const { return canAccess_; }
  bool Temporary() const { return temporary_; }
  void SetTemporary(bool value) { temporary_ = value; }
  int RefCount() const { return refCount_; }
  void AddReference() { ++refCount_; }
  // Down by one, never below 0; returns the count left.
  int ReleaseReference();

  // The password check of an opening data set: a password given earlier is
  // checked again; otherwise the login dialog asks for one (Cancel aborts
  // silently). Still no access: "Access denied".
  virtual void CheckSessionAccess();
  // "Cannot modify a read-only database".
  virtual void CheckCanModify();
  virtual TTMBDataSet* GetDataSet(int index) const { return dataSets_.at(size_t(index)); }
  virtual int GetDataSetCount() const { return int(dataSets_.size()); }
  virtual void AddDataSet(TComponent* dataSet);
  virtual void RemoveDataSet(TComponent* dataSet);
  // Closes every data set that uses the database, last first.
  void CloseDataSets();
  void FlushCache();
  // The table names (cleared first); nothing when disconnected.
  void GetTableNames(TStrings& names) const;
  // The storage object of the table (name ignoring case); nullptr when none.
  TTomeTableIO* FindTableIO(std::string_view tableName) const;
  const TTomeTableDefs& TableDefs() const { return tableDefs_; }
  TTomeDBFileIO* FileIO() const { return fileIO_.get(); }
  // The extension header's flags; "Cannot perform this operation on a
  // closed database" when disconnected.
  bool IsEncrypted() const;
  bool IsCompressed() const;
  bool IsWriteVerify() const;

  // The login dialog through the installed hook; false when there is none.
  static bool ShowLoginDialog(const String& databaseName, String& password);

  TNotifyEvent BeforeConnect, BeforeDisconnect, AfterConnect, AfterDisconnect;
  TOnProgressEvent OnCompressProgress, OnUncompressProgress, OnEncryptProgress, OnDecryptProgress;
  TOnProgressEvent OnOperationProgress;

 protected:
  virtual void DoConnect();
  virtual void DoDisconnect();
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TTomeSession;
  friend class TTMBDataSet;
  // The session named SessionName; with activation it must exist and
  // becomes active.
  void ValidateSession(bool activate);
  void CheckDuplicateName(const String& name);
  void CheckInactive();
  const String& EffectiveFileName() const { return fileName_.empty() ? databaseName_ : fileName_; }
  // Session.cpp frees a temporary database through this when it is still
  // registered.
  void FreeTemporary();

  std::unique_ptr<TTomeDBFileIO> fileIO_;
  std::vector<TTMBDataSet*> dataSets_;
  bool keepConnection_ = false;
  bool exclusive_ = false;
  bool readOnly_ = false;
  int refCount_ = 0;
  bool streamedConnected_ = false;
  TTomeSession* session_ = nullptr;
  String sessionName_;
  String databaseName_;
  String fileName_;
  TTomeDBMediumType mediumType_ = mtDisk;
  bool canAccess_ = false;
  String password_;
  bool passwordGiven_ = false;
  bool temporary_ = false;
  // While set, the data sets closing in DoDisconnect cannot free the
  // database under it.
  bool disconnecting_ = false;
  TTomeTableDefs tableDefs_;
  std::vector<std::unique_ptr<TTomeTableIO>> tableIOs_;
  bool autoFlush_ = false;
  int autoFlushInterval_ = 60000;
  std::unique_ptr<TTomeTimer> flushTimer_;
};
