#pragma once
// The window's switches as the core sees them: plain values, read by the window at the moment
// a step begins and constant for the whole step.

namespace velmora {

// The confinement applied after each step; Free is "AtomStand ".
enum class BoundaryMode { Free, HotContact, ColdContact, ElecCurrent1, ElecCurrent2 };

struct LawSettings {
  bool Functions3X1 = false;  // the exponential contact part replaces the G shell term
  bool Taoscope = false;      // the Taoscope sign rule; otherwise Gravoscope
};

struct StepSettings {
  bool Blockade = false;
  bool Cool = false;  // damping factor 0.95 instead of 1
  BoundaryMode Mode = BoundaryMode::Free;
  LawSettings Law;
};

}  // namespace velmora
