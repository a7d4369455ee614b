#pragma once
// Whether the scene differs from its document on disk, for the mark beside the document's name.

#include <string>

#include "model/Model.h"

namespace velmora {

// True when the record a save would write now (TakeSnapshot) differs from the first bytes of
// file `name`, or the file cannot be read or is shorter than a record. The model is not changed.
bool DiffersFromDocument(const Model& model, const std::string& name);

}  // namespace velmora
