#include "documents/DocumentFile.h"

#include <fcntl.h>

#include <array>
#include <string_view>

#include "documents/FileHandle.h"
#include "documents/IoErrors.h"
#include "documents/SafeWrite.h"
#include "documents/StartFile.h"

namespace velmora {

namespace {

// Reading needs reading only: a document the user may only read opens like any other.
FileHandle OpenDocument(const std::string& name) { return FileHandle::Open(name, O_RDONLY); }

// Snapshot changes only when the whole record was read.
void ReadRecord(Model& model, FileHandle& file) {
  std::array<unsigned char, SnapshotSize> record;
  if (file.Read(record.data(), record.size()) < record.size()) throw ReadBeyondEndOfFileError();
  model.Snapshot = record;
}

void LoadSlots(const Model& model, std::size_t offset, SlotArray<real>& values) {
  for (int n = 1; n <= model.N; ++n)
    values[n] = LoadExtended(&model.Snapshot[offset + ExtendedBytes * (n - 1)]);
}

}  // namespace

void ApplySnapshot(Model& model) {
  model.dt = LoadExtended(&model.Snapshot[record::Dt]);
  for (int p = 0; p < ParameterCount; ++p)
    Parameter(model, p) = LoadExtended(&model.Snapshot[record::Parameters + ExtendedBytes * p]);
  for (int n = 1; n <= model.N; ++n) model.Present[n] = model.Snapshot[record::Present + (n - 1)] != 0;
  LoadSlots(model, record::X, model.X);
  LoadSlots(model, record::Y, model.Y);
  LoadSlots(model, record::Z, model.Z);
  LoadSlots(model, record::V, model.V);
  LoadSlots(model, record::U, model.U);
  LoadSlots(model, record::W, model.W);
  for (int n = 1; n <= model.N; ++n) AlignCopies(model, n);
}

void ReadDocumentFile(Model& model, const std::string& name) {
  AtFile(name, [&] {
    FileHandle file = OpenDocument(name);
    if (!file.IsOpen()) throw SystemIoError(file.Error());
    ReadRecord(model, file);
  });
}

bool TryReadDocumentFile(Model& model, const std::string& name) {
  return AtFile(name, [&] {
    FileHandle file = OpenDocument(name);
    if (!file.IsOpen()) return false;
    ReadRecord(model, file);
    return true;
  });
}

void WriteDocumentFile(Model& model, const std::string& name) {
  TakeSnapshot(model);
  WriteFileSafely(
      name, std::string_view(reinterpret_cast<const char*>(model.Snapshot.data()), model.Snapshot.size()));
}

void RememberLastDocument(Model& model) {
  model.LastDocFileName = model.DocFileName;
  WriteStartFile(model.LastDocFileName);
}

}  // namespace velmora
