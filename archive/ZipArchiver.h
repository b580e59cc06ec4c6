// The archiver component: TZABaseArchiver opens an archive file (or one in
// memory), searches its directory, decodes entries, queues new ones and
// writes them when it closes; TZipArchiver is the zip-format archiver.
//
// Every event goes through a virtual Do* operation that supplies the
// default behaviour when no handler is assigned.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>

#include "archive/ZAExcept.h"
#include "archive/ZipArchiverCoding.h"
#include "archive/ZipArchiverFormat.h"
#include "archive/ZipArchiverPrompts.h"
#include "archive/ZipArchiverReadAhead.h"
#include "archive/ZipArchiverTypes.h"
#include "archive/ZipArchiverVolumes.h"
#include "platform/Components.h"
#include "platform/Lists.h"
#include "platform/Streams.h"

class TZAOptions : public TPersistent {
 public:
  const char* ClassName() const override { return "TZAOptions"; }
  void Assign(const TPersistent* source) override;

  TZAStorePathMode StorePath() const { return storePath_; }
  void SetStorePath(TZAStorePathMode v) { storePath_ = v; }
  bool Recurse() const { return recurse_; }
  void SetRecurse(bool v) { recurse_ = v; }
  TZAFileShareMode ShareMode() const { return shareMode_; }
  void SetShareMode(TZAFileShareMode v) { shareMode_ = v; }
  TZAOverwriteMode OverwriteMode() const { return overwriteMode_; }
  void SetOverwriteMode(TZAOverwriteMode v) { overwriteMode_ = v; }
  bool CreateDirs() const { return createDirs_; }
  void SetCreateDirs(bool v) { createDirs_ = v; }
  bool ReplaceReadOnly() const { return replaceReadOnly_; }
  void SetReplaceReadOnly(bool v) { replaceReadOnly_ = v; }
  bool SetAttributes() const { return setAttributes_; }
  void SetSetAttributes(bool v) { setAttributes_ = v; }
  int SearchAttr() const { return searchAttr_; }
  void SetSearchAttr(int v) { searchAttr_ = v; }
  bool FlushBuffers() const { return flushBuffers_; }
  void SetFlushBuffers(bool v) { flushBuffers_ = v; }
  bool OEMFileNames() const { return oemFileNames_; }
  void SetOEMFileNames(bool v) { oemFileNames_ = v; }

 private:
  TZAStorePathMode storePath_ = spRelativePath;
  bool recurse_ = true;
  TZAFileShareMode shareMode_ = smShareDenyNone;
  TZAOverwriteMode overwriteMode_ = omAlways;
  bool createDirs_ = true;
  bool replaceReadOnly_ = true;
  bool setAttributes_ = true;
  int searchAttr_ = ZADefaultSearchAttr;
  bool flushBuffers_ = true;
  bool oemFileNames_ = true;
};

class TZASpanningOptions : public TPersistent {
 public:
  const char* ClassName() const override { return "TZASpanningOptions"; }
  void Assign(const TPersistent* source) override;

  bool AdvancedNaming() const { return advancedNaming_; }
  void SetAdvancedNaming(bool v) { advancedNaming_ = v; }
  int64_t FirstVolumeSize() const { return firstVolumeSize_; }
  void SetFirstVolumeSize(int64_t v) { firstVolumeSize_ = v; }
  TZAVolumeSize VolumeSize() const { return volumeSize_; }
  void SetVolumeSize(TZAVolumeSize v) { volumeSize_ = v; }
  int64_t CustomVolumeSize() const { return customVolumeSize_; }
  // Values below 65536 become 65536.
  void SetCustomVolumeSize(int64_t v) { customVolumeSize_ = v < 65536 ? 65536 : v; }
  bool SaveDirToFirstVolume() const { return saveDirToFirstVolume_; }
  void SetSaveDirToFirstVolume(bool v) { saveDirToFirstVolume_ = v; }

 private:
  bool advancedNaming_ = true;
  int64_t firstVolumeSize_ = 0;
  TZAVolumeSize volumeSize_ = vsAutoDetect;
  int64_t customVolumeSize_ = 0;
  bool saveDirToFirstVolume_ = false;
};

// Event types. Sender is the archiver; var parameters are references.
using TZAProgressEvent = std::function<void(TObject* sender, double progress,
                                            TZAProcessOperation operation,
                                            TZAProgressPhase phase, bool& cancel)>;
using TZAFileProgressEvent =
    std::function<void(TObject* sender, const String& fileName, double progress,
                       TZAProcessOperation operation, TZAProgressPhase phase, bool& cancel)>;
using TZACopyTempFileProgressEvent =
    std::function<void(TObject* sender, double progress, TZAProgressPhase phase, bool& cancel)>;
using TZAConfirmOverwriteEvent = std::function<void(
    TObject* sender, const String& sourceFileName, String& destFileName, bool& confirm)>;
using TZAConfirmProcessFileEvent = std::function<void(
    TObject* sender, const String& fileName, TZAProcessOperation operation, bool& confirm)>;
using TZAPasswordEvent = std::function<void(TObject* sender, const String& fileName,
                                            String& newPassword, bool& skipFile)>;
using TZAProcessFileFailureEvent = std::function<void(
    TObject* sender, const String& fileName, TZAProcessOperation operation, int nativeError,
    int errorCode, const String& errorMessage, TZAAction& action)>;
using TZARequestVolumeEvent = std::function<void(TObject* sender, int volumeNumber,
                                                 String& volumeFileName, bool& cancel)>;
using TZARequestEndVolumeEvent =
    std::function<void(TObject* sender, String& volumeFileName, bool& cancel)>;
using TZADiskFullEvent = std::function<void(TObject* sender, int volumeNumber,
                                            const String& volumeFileName, bool& cancel)>;
using TZAStoreFileEvent =
    std::function<void(TObject* sender, String& fileName, uint32_t& fileAttr, String& comment,
                       const String& originalFileName)>;
using TZAExtractFileEvent = std::function<void(TObject* sender, String& fileName,
                                               uint32_t& fileAttr, const String& comment)>;

class TZABaseArchiver : public TComponent {
 public:
  explicit TZABaseArchiver(TComponent* owner);
  ~TZABaseArchiver() override;
  const char* ClassName() const override { return "TZABaseArchiver"; }

  // --- Published properties ---
  const String& FileName() const { return fileName_; }
  void SetFileName(const String& v) { fileName_ = v; }
  const String& Password() const { return password_; }
  void SetPassword(const String& v) { password_ = v; }
  const String& BaseDir() const { return baseDir_; }
  void SetBaseDir(const String& v) { baseDir_ = v; }
  const String& TempDir() const { return tempDir_; }
  void SetTempDir(const String& v) { tempDir_ = v; }
  TZACompressionLevel CompressionLevel() const { return compressionLevel_; }
  void SetCompressionLevel(TZACompressionLevel level);
  int CompressionMode() const { return compressionMode_; }
  // Modes above 9 raise EZAException 5 and leave the mode as it was.
  void SetCompressionMode(int mode);
  // The version of this archiver, fixed. The property is published so that
  // forms that stored a value still load; a write is accepted and dropped,
  // because the value describes the code, not the component.
  String CurrentVersion() const;
  void SetCurrentVersion(const String&) {}
  // An archive without its end records is damaged and does not open
  // (EZAException 48; 35 when it does not even start like an archive). With
  // this on, its directory is rebuilt from the local headers instead; an
  // entry cut short still fails its check when decoded.
  bool RecoverDamagedArchives() const { return recoverDamagedArchives_; }
  void SetRecoverDamagedArchives(bool v) { recoverDamagedArchives_ = v; }
  bool ExtractCorruptedFiles() const { return extractCorruptedFiles_; }
  void SetExtractCorruptedFiles(bool v) { extractCorruptedFiles_ = v; }
  TZASpanningMode SpanningMode() const { return spanningMode_; }
  // Raises Exception "Cannot set spanning mode on open archive" when open.
  void SetSpanningMode(TZASpanningMode mode);
  TZASpanningOptions& SpanningOptions() { return spanningOptions_; }
  void SetSpanningOptions(const TZASpanningOptions& v) { spanningOptions_.Assign(&v); }
  const String& SFXStub() const { return sfxStub_; }
  void SetSFXStub(const String& v) { sfxStub_ = v; }
  TZAOptions& Options() { return options_; }
  const TZAOptions& Options() const { return options_; }
  void SetOptions(const TZAOptions& v) { options_.Assign(&v); }
  TStringList& FileMasks() { return fileMasks_; }
  void SetFileMasks(const TStrings& v) { fileMasks_.Assign(&v); }
  TStringList& ExclusionMasks() { return exclusionMasks_; }
  void SetExclusionMasks(const TStrings& v) { exclusionMasks_.Assign(&v); }
  TStringList& NoCompressionMasks() { return noCompressionMasks_; }
  void SetNoCompressionMasks(const TStrings& v) { noCompressionMasks_.Assign(&v); }
  bool InMemory() const { return inMemory_; }
  void SetInMemory(bool v);
  // Who answers the questions of unhandled events; null (the default) means
  // the system's prompts.
  void SetPrompts(TZAPrompts* prompts) { prompts_ = prompts; }

  // --- Events ---
  TZAProgressEvent OnOverallProgress;
  TZAFileProgressEvent OnFileProgress;
  TZACopyTempFileProgressEvent OnCopyTempFileProgress;
  TZAConfirmOverwriteEvent OnConfirmOverwrite;
  TZAConfirmProcessFileEvent OnConfirmProcessFile;
  TZAPasswordEvent OnPassword;
  TZAProcessFileFailureEvent OnProcessFileFailure;
  TZARequestVolumeEvent OnRequestBlankVolume;
  TZARequestEndVolumeEvent OnRequestFirstVolume;
  TZARequestEndVolumeEvent OnRequestLastVolume;
  TZARequestVolumeEvent OnRequestMiddleVolume;
  TZADiskFullEvent OnDiskFull;
  TZAStoreFileEvent OnStoreFile;
  TZAExtractFileEvent OnExtractFile;
  TNotifyEvent AfterOpen;

  // --- Opening and closing ---
  // Opens FileName: creates it when it does not exist (or InMemory is on),
  // else opens it for reading and writing, or read-only when it cannot be
  // written.
  void OpenArchiveFile();
  // ZAModeCreate, ZAModeReadWrite or ZAModeReadOnly.
  void OpenArchiveMode(int mode);
  // Writes pending updates, then closes. A failed commit is rolled back and
  // raised after the archive is closed.
  void CloseArchiveFile();
  bool Active() const { return active_; }

  // --- Directory ---
  int FileCount() const;
  const TDirItem& DirItem(int index) const;
  bool FindFirstItem(const String& mask, TZAArchiveItem& item, const String& exclusionMask = "",
                     int searchAttr = ZADefaultSearchAttr);
  bool FindNextItem(TZAArchiveItem& item);

  // --- Entry data ---
  // Decodes entry index into stream. Returns false when the entry was
  // skipped at the password request or a progress event cancelled it. A
  // damaged entry raises EZAException 8 unless ExtractCorruptedFiles is on;
  // an unknown method raises 58 and data that overlap another entry 59.
  bool ExtractItemToStream(int index, TStream& stream);

  // --- Extraction and test ---
  // Extracts the entries that match fileMask and searchAttr but not
  // exclusionMask below BaseDir. Raises EZAException 60 when any of them
  // was skipped, ignored after a failure, aborted or cancelled.
  void ExtractFilesByMask(const String& fileMask, int searchAttr = ZADefaultSearchAttr,
                          const String& exclusionMask = "");
  // Marks the entries that the search finds as selected, and no others.
  void SelectItemsByMask(const String& fileMask, int searchAttr = ZADefaultSearchAttr,
                         const String& exclusionMask = "");
  // Runs poExtract or poTest on every selected entry, with the failure
  // event deciding after each failed one; EZAException 60 as above.
  void ProcessSelectedItems(TZAProcessOperation operation);

  // --- Updates ---
  // Changes are queued in the directory and written by one commit, when the
  // archive closes or CommitUpdates runs. Queueing opens the archive file
  // for writing: a read-only archive raises EZAException 32, one that
  // changed on disk since it was read 33, a volume set 52.
  //
  // Enters update mode.
  void BeginUpdate();
  // Queues the files that fileMask names (a file, a folder with everything
  // below it when Options().Recurse() is on, or a mask in its last part),
  // relative to BaseDir; enters update mode. A file whose entry exists
  // replaces it.
  void AddFiles(const String& fileMask);
  // As AddFiles; the source files are deleted after a successful commit.
  void MoveFiles(const String& fileMask);
  // In update mode: the entry index gets the contents of fileName (24 for
  // a bad index, 25 outside update mode).
  void ReplaceItemFromFile(int index, const String& fileName);
  // In update mode: the entry index leaves the archive (21, 22).
  void DeleteItemAt(int index);
  // Gives entry index a new stored name ("/" separators); enters update
  // mode. Its data are copied unchanged.
  void RenameItem(int index, const String& newName);
  // Replaces entry index from the file entryName names below baseFolder,
  // when the file exists and the overwrite rules allow it.
  void UpdateItemFromDisk(int index, const String& entryName, const String& baseFolder);
  // Writes the queued changes. A failure rolls the archive back to what it
  // was and is raised; a cancel or an abort only rolls back.
  void CommitUpdates();
  void CancelUpdateMode();
  bool InUpdate() const { return updateCount_ > 0; }

  // --- Volumes ---
  // The name of volume (0-based; -1 the last) of this archive. With
  // checkExists, a spanned volume missing under one naming is looked for
  // under the other.
  String VolumeFileNameFor(int volume, bool checkExists = false) const;

 protected:
  // Virtual operations behind the events, in declared order.
  virtual void SelectCompressionMethod();
  virtual void DoOverallProgress(double progress, TZAProcessOperation operation,
                                 TZAProgressPhase phase, bool& cancel);
  virtual void DoFileProgress(const String& fileName, double progress,
                              TZAProcessOperation operation, TZAProgressPhase phase,
                              bool& cancel);
  virtual void DoCopyTempFileProgress(double progress, TZAProgressPhase phase, bool& cancel);
  virtual void DoConfirmOverwrite(const String& sourceFileName, String& destFileName,
                                  bool& confirm);
  virtual void DoConfirmProcessFile(const String& fileName, TZAProcessOperation operation,
                                    bool& confirm);
  virtual void DoPassword(const String& fileName, String& newPassword, bool& skipFile);
  virtual void DoProcessFileFailure(const String& fileName, TZAProcessOperation operation,
                                    int nativeError, int errorCode, const String& errorMessage,
                                    TZAAction& action);
  virtual void DoRequestBlankVolume(int volumeNumber, String& volumeFileName, bool& cancel);
  virtual void DoRequestFirstVolume(String& volumeFileName, bool& cancel);
  virtual void DoRequestLastVolume(String& volumeFileName, bool& cancel);
  virtual void DoRequestMiddleVolume(int volumeNumber, String& volumeFileName, bool& cancel);
  virtual void DoDiskFull(int volumeNumber, const String& volumeFileName, int64_t required,
                          int64_t available, bool& cancel);
  virtual void DoStoreFile(String& fileName, uint32_t& fileAttr, String& comment,
                           const String& originalFileName);
  virtual void DoExtractFile(String& fileName, uint32_t& fileAttr, const String& comment);

  void CheckActive() const;  // EZAException 13

  // One entry to a file below baseFolder. False when it was skipped at the
  // password request or cancelled; true when written or deliberately left
  // alone (overwrite rules).
  bool ExtractItemToFile(int index, const String& entryName, const String& baseFolder);
  // One entry decoded into a temporary file that is deleted afterwards.
  bool TestItem(int index, const String& entryName);

  bool zipFormat_ = false;
  int compressionMethod_ = -1;
  TZip64Mode zip64Mode_ = zmAuto;

 private:
  const TZASignatures& Signatures() const;
  void OpenExisting();
  void CreateNew();
  void FreeArchive();
  void ReopenFromMemory();
  void FinishNewArchive();
  bool IsRemovable(const String& fileName) const;

  // Search (ZipArchiverSearch.cpp).
  bool EntryMatches(const TDirItem& entry, const TZAArchiveItem& search) const;
  void FillArchiveItem(const TDirItem& entry, TZAArchiveItem& item) const;

  // Extraction (ZipArchiverExtract.cpp).
  enum TItemOutcome { ioDone, ioDeclined, ioNotDone, ioAborted };
  TItemOutcome ProcessItem(int index, TZAProcessOperation operation, const String& baseFolder);
  String TargetPathFor(const String& targetName, const String& base) const;
  void CheckNoLinkLeadsOut(const String& folder, const String& baseFolder,
                           const String& targetName);
  bool WriteNewFile(const String& path, TMemoryStream& data);
  TZAFileDetails DetailsFor(const TDirItem& entry, uint32_t attr, bool isNew) const;
  bool MayReplace(const String& targetPath, const TDirItem& entry, const String& entryName);
  TZAPrompts& Prompts() const { return prompts_ ? *prompts_ : ZASystemPrompts(); }
  void MakeWritable();
  std::unique_ptr<TStream> OpenForUpdate();

  // Decoding (ZipArchiverDecode.cpp).
  bool LocateData(const TDirItem& entry, uint64_t& dataAt, uint64_t& compressedSize);
  std::unique_ptr<TZAReadAhead> StartReadAhead(int first);
  bool LightPathAllowed() const;
  void SetTargets(std::vector<TZAReadAhead::TJob>& jobs);
  bool WriteDecoded(const TDirItem& entry, const TZAReadAhead::TDecoded& decoded, TStream& target,
                    uint64_t& written, uint32_t& crc);
  void CheckNoOverlap(const TDirItem& entry, uint64_t dataEnd);
  bool Overlaps(const TDirItem& entry, uint64_t dataEnd);
  bool CheckPassword(TStream& stream, const TDirItem& entry, TZAKeys& keys);
  bool DecodeData(TStream& source, const TDirItem& entry, uint64_t compressedSize,
                  TStream& target, uint64_t& written, uint32_t& crc, bool& skipped);

  // Queueing (ZipArchiverUpdate.cpp).
  void QueueFiles(const String& fileMask, TZAProcessOperation operation);
  void QueueFile(const String& fileName, TZAProcessOperation operation, const String& base);
  void QueueFolderContents(const String& folder, const String& mask,
                           TZAProcessOperation operation, const String& base);
  bool PrepareItemFromFile(TDirItem& item, const String& fileName, const String& base);
  void EnterUpdate();
  void CheckUpdateIndex(int index, int badIndexError, int noUpdateError) const;

  // Commit (ZipArchiverCommit.cpp).
  struct TCommit;
  int FirstDifference(int64_t& rewriteAt) const;
  bool StartReplacement(TCommit& commit);
  void FinishReplacement(TCommit& commit);
  void SaveTail(TCommit& commit);
  void CommitEntry(TCommit& commit, int& index);
  void CopyEntry(TCommit& commit, TDirItem& item);
  void RollBack(TCommit& commit);

  // Writing one entry (ZipArchiverWriter.cpp).
  void AddEntry(TDirItem& item, TZAOutput& out);
  void WriteEntry(TDirItem& item, TStream& source, int64_t sourceSize, bool hasSource,
                  TStream& target);
  void EncodeData(TDirItem& item, TStream& source, int64_t sourceSize, TStream& target,
                  uint64_t& compressedSize, uint32_t& crc);
  void FireOverallFromFile(double fileFraction);

  // Volumes and stubs (ZipArchiverVolumeSets.cpp).
  bool SelfExtracting() const;
  std::unique_ptr<TStream> CreateVolume(uint32_t volume, int64_t& limit, String& name);
  std::unique_ptr<TStream> OpenVolumeForReading(uint32_t volume, uint32_t lastVolume);
  void OpenVolumeSet(uint32_t lastVolume);
  bool DetectVolumeMode(uint32_t lastVolume);
  void WriteStub();

  String fileName_;
  String password_;
  String baseDir_;
  String tempDir_;
  TZACompressionLevel compressionLevel_ = TZACompressionLevel::clFastest;
  int compressionMode_ = 1;
  bool extractCorruptedFiles_ = false;
  TZASpanningMode spanningMode_ = smNone;
  TZASpanningOptions spanningOptions_;
  String sfxStub_;
  TZAOptions options_;
  TStringList fileMasks_;
  TStringList exclusionMasks_;
  TStringList noCompressionMasks_;
  bool inMemory_ = false;
  TZAPrompts* prompts_ = nullptr;

  bool active_ = false;
  int openMode_ = ZAModeCreate;
  std::unique_ptr<TStream> stream_;
  // The writer of a new volume set; stream_ then owns it.
  TZAVolumeWriter* volumes_ = nullptr;
  // An archive read from several volumes is never written.
  bool volumeSet_ = false;
  std::unique_ptr<TZADirManager> dir_;
  // The archive file is opened for reading only until the first update.
  bool writable_ = false;
  // Local header offsets of the entries on disk, sorted; built on demand to
  // find entries whose data run into another one.
  std::vector<uint64_t> headerOffsets_;
  int updateCount_ = 0;
  bool recoverDamagedArchives_ = false;

  // Progress of the running operation.
  std::unique_ptr<TZAReadAhead> readAhead_;  // during extraction and test
  String checkedFolder_;  // the last target folder found free of links out
  String extractBase_;    // where a running extraction writes, absolute
  int filesDone_ = 0;
  int filesToDo_ = 0;
  bool cancel_ = false;
  TZAProcessOperation operation_ = poExtract;
};

// Test seam of the commit: when set, called before every write into a new
// archive file under construction, with the count of writes so far, 1 first.
// Tests end the process there to see what a crash leaves behind.
extern void (*ZACommitWriteHook)(int writeNumber);

class TZipArchiver : public TZABaseArchiver {
 public:
  explicit TZipArchiver(TComponent* owner);
  const char* ClassName() const override { return "TZipArchiver"; }

  TZip64Mode Zip64Mode() const { return zip64Mode_; }
  void SetZip64Mode(TZip64Mode v) { zip64Mode_ = v; }

 protected:
  void SelectCompressionMethod() override;
};
