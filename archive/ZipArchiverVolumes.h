// Volume sets: the names and size limits of volumes, a stream that reads a
// set as one run of bytes, and one that writes across volumes.
//
// A split set is numbered files in one folder; a spanned set is one file per
// removable disk. Either way the last volume carries the central directory,
// and every offset in the directory counts from the start of its volume.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "archive/ZipArchiverFormat.h"

// The name of volume (0-based; -1 the last one) of the archive archiveName.
// selfExtracting: the set starts with a stub; zipFormat: the zip format, not
// the base archiver's own (which names its parts ".F01" and ".ZA").
String ZAVolumeFileName(const String& archiveName, TZASpanningMode mode, bool advancedNaming,
                        bool selfExtracting, bool zipFormat, int volume);

// The size limit of a volume in bytes, 0 when the free space decides.
int64_t ZAVolumeLimit(TZAVolumeSize size, int64_t customSize, int64_t firstVolumeSize,
                      int volume);

// True when the extension of fileName contains ".exe", in any case: the
// archive may be self-extracting.
bool ZAHasExeExtension(const String& fileName);

// The disk label of a spanned volume: "pkback# " and the 1-based number.
String ZAVolumeLabel(int volume);

// The name of the file that name denotes, found without regard to case when
// the exact name does not exist (volumes of other archivers carry ".z01"
// where we write ".Z01"); empty when there is none.
String ZAExistingFileName(const String& name);

// The volumes of a set read as one stream: a read that reaches the end of a
// volume continues at the start of the next. Each volume is opened once up
// front to learn its size, and again whenever a read needs it.
class TZAVolumeReader : public TStream {
 public:
  using TOpener = std::function<std::unique_ptr<TStream>(uint32_t volume)>;
  TZAVolumeReader(TOpener opener, uint32_t lastVolume);

  // Where each volume starts in this stream.
  const std::vector<int64_t>& Starts() const { return starts_; }

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void*, int64_t) override { return 0; }
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return starts_.back(); }

 private:
  TStream& Volume(uint32_t volume);

  TOpener opener_;
  std::vector<int64_t> starts_;  // one more than the volumes: the end
  std::unique_ptr<TStream> current_;
  uint32_t currentVolume_ = 0;
  int64_t position_ = 0;
};

// Writes a new set. Bytes go into the current volume until its limit or
// the free space of its disk is reached, then into a new volume that the
// opener supplies. As a stream it stands for the current volume.
class TZAVolumeWriter : public TStream, public TZAOutput {
 public:
  // Creates the file of a volume and tells its limit (0: none) and name.
  using TOpener =
      std::function<std::unique_ptr<TStream>(uint32_t volume, int64_t& limit, String& name)>;
  TZAVolumeWriter(TOpener opener, bool flushFullVolumes, const TComponent* archiver);

  uint32_t VolumeNumber() const { return volume_; }
  const String& VolumeName() const { return names_.back(); }

  int64_t Read(void* buffer, int64_t count) override { return current_->Read(buffer, count); }
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override {
    return current_->Seek(offset, origin);
  }
  int64_t Size() override { return current_->Size(); }
  void SetSize(int64_t size) override { current_->SetSize(size); }

  TZAPlace Write(const void* data, int64_t count, int64_t keepTogether) override;
  TZAPlace Here() override { return {volume_, current_->Position()}; }

  // Gives the current (last) volume its final name, replacing any file of
  // that name, and keeps it open for reading and writing.
  void Finish(const String& finalName);
  // Forgets what was written: every volume but the first is deleted and
  // the first is cut to keep bytes.
  void Discard(int64_t keep);

 private:
  int64_t Room();
  void NextVolume();

  TOpener opener_;
  bool flushFullVolumes_;
  const TComponent* archiver_;
  std::unique_ptr<TStream> current_;
  uint32_t volume_ = 0;
  int64_t limit_ = 0;
  std::vector<String> names_;
};
