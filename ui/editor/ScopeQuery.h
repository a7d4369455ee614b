#pragma once
// The Gravoscope / Taoscope choice is a pair of radio buttons on the main window, read at the
// moment of use. Windows that compute with the pair law (the editor dialog) take this function
// in their constructor and call it each time; the main window hands in its own
// TMainForm::TaoscopeSelected.

#include <functional>

namespace velmora {

// True when "Taoscope" is selected, false for "Gravoscope".
using TaoscopeQuery = std::function<bool()>;

}  // namespace velmora
