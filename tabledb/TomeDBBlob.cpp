// The blob streams of the table data sets.
#include "tabledb/TomeDBBlob.h"

#include "tabledb/TomeDBData.h"

// --- TOptimBlobStream --------------------------------------------------------------------------------

void TOptimBlobStream::SetLoadInfo(int32_t position, bool encrypted, bool compressed) {
  TMemoryStream::SetSize(0);
  TMemoryStream::Seek(0, soBeginning);
  valuePosition_ = position;
  encrypted_ = encrypted;
  compressed_ = compressed;
  loaded_ = false;
}

void TOptimBlobStream::Empty() {
  SetLoadInfo(0, false, false);
  loaded_ = true;
}

void TOptimBlobStream::LoadOnce() {
  if (valuePosition_ == 0 || loaded_) return;
  loaded_ = true;
  try {
    dataSet_->LoadBlob(*this, valuePosition_, compressed_, encrypted_, true, kBlobDescriptorSize, field_);
  } catch (...) {
    loaded_ = false;
    throw;
  }
  TMemoryStream::Seek(0, soBeginning);
}

int64_t TOptimBlobStream::Read(void* buffer, int64_t count) {
  LoadOnce();
  return TMemoryStream::Read(buffer, count);
}

int64_t TOptimBlobStream::Seek(int64_t offset, TSeekOrigin origin) {
  LoadOnce();
  return TMemoryStream::Seek(offset, origin);
}

int64_t TOptimBlobStream::Write(const void* buffer, int64_t count) {
  loaded_ = true;
  return TMemoryStream::Write(buffer, count);
}

void TOptimBlobStream::SetSize(int64_t newSize) {
  loaded_ = true;
  TMemoryStream::SetSize(newSize);
}

// --- TTomeBlobStream ---------------------------------------------------------------------------------

TTomeBlobStream::TTomeBlobStream(TBlobField* field, TBlobStreamMode mode)
    : field_(field), dataSet_(dynamic_cast<TTMEDataSet*>(field->DataSet())), mode_(mode) {
  if (!dataSet_) DatabaseError("Invalid class typecast");
  if (mode != bmWrite) {
    if (TOptimBlobStream* value = RecordValue()) {
      value->Seek(0, soBeginning);
      CopyFrom(*value, 0);
      TMemoryStream::Seek(0, soBeginning);
    }
  }
  if (mode == bmWrite) {
    Clear();
    StoreValue();
  }
}

TOptimBlobStream* TTomeBlobStream::RecordValue() const {
  TRecordBuffer record;
  if (!dataSet_->GetActiveRecordBuffer(record)) return nullptr;
  return dataSet_->BlobAt(record, field_);
}

int64_t TTomeBlobStream::Write(const void* buffer, int64_t count) {
  const int64_t written = TMemoryStream::Write(buffer, count);
  if (mode_ != bmRead) StoreValue();
  return written;
}

void TTomeBlobStream::StoreValue() {
  modified_ = true;
  TOptimBlobStream* value = RecordValue();
  if (!value) return;
  value->SetSize(0);
  value->TMemoryStream::Seek(0, soBeginning);
  value->Write(Memory(), Size());
  field_->SetModified(true);
  dataSet_->DataEvent(deFieldChange, intptr_t(field_));
}
