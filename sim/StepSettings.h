#pragma once
// The window's switches as the core sees them: plain values, read by the window at the moment
// a step begins and constant for the whole step.

#include <utility>

namespace velmora {

// The confinement applied after each step; Free is "AtomStand ".
enum class BoundaryMode { Free, HotContact, ColdContact, ElecCurrent1, ElecCurrent2 };

// The modes by the names that the command-line tools and the Python module take.
inline constexpr std::pair<const char*, BoundaryMode> BoundaryModeNames[] = {
    {"free", BoundaryMode::Free},
    {"hot", BoundaryMode::HotContact},
    {"cold", BoundaryMode::ColdContact},
    {"current1", BoundaryMode::ElecCurrent1},
    {"current2", BoundaryMode::ElecCurrent2}};

struct LawSettings {
  bool Functions3X1 = false;  // the exponential contact part replaces the G shell term
  bool Taoscope = false;      // the Taoscope sign rule; otherwise Gravoscope
  friend bool operator==(const LawSettings&, const LawSettings&) = default;
};

struct StepSettings {
  bool Blockade = false;
  bool Cool = false;  // damping factor 0.95 instead of 1
  BoundaryMode Mode = BoundaryMode::Free;
  LawSettings Law;
  friend bool operator==(const StepSettings&, const StepSettings&) = default;
};

}  // namespace velmora
