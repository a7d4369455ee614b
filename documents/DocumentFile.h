#pragma once
// Documents: one scene as the 6296-byte record of the model's Snapshot buffer, with no header.
// Every write goes from the model through Snapshot to the file, every read from the file
// through Snapshot to the model.

#include <string>

#include "model/Model.h"

namespace velmora {

inline constexpr const char* DocumentFilter = "Taons files (*.ato)";
inline constexpr const char* DocumentExtension = "ato";

// Copies Snapshot into the model: dt, A1 .. G3, Present[1..N] (any nonzero byte is a
// particle), then X .. W[1..N], setting the working copies NewX .. NewW and the display copies
// ShownX .. ShownZ equal to the loaded values. The padding bytes are not read.
void ApplySnapshot(Model& model);

// Reads the first 6296 bytes of the file into Snapshot; the model itself is not touched. The
// file is opened for reading only, so a document the user may only read is read. Failures name
// the file (IoError::file). A shorter file throws IoError "Read beyond end of file" and leaves Snapshot as it
// was; a longer one is read and the rest ignored.
void ReadDocumentFile(Model& model, const std::string& name);

// As ReadDocumentFile, for start-up, which tests whether the file opens instead of reporting:
// false when it cannot be opened (nothing read); a failure after opening still throws.
bool TryReadDocumentFile(Model& model, const std::string& name);

// TakeSnapshot, then Snapshot as the file's only content, replacing the file only once all of
// it is written (see WriteFileSafely): a failed save leaves the old document as it was. The
// padding bytes keep what the last document read held, or zeros.
void WriteDocumentFile(Model& model, const std::string& name);

// LastDocFileName := DocFileName, and the start file names it from now on.
void RememberLastDocument(Model& model);

}  // namespace velmora
