#pragma once
// The program-wide model: slots, parameters, time step, run flags and the record buffer
// through which documents are saved and loaded. One instance lives in the program; core
// functions take it by reference so that tests and tools can make their own.

#include <array>
#include <cstddef>
#include <string>

#include "model/Real.h"

namespace velmora {

constexpr int SlotCount = 100;

// Slot arrays are 1-based: element 0 is unused, so X[i] is slot i of the listing.
template <class T>
using SlotArray = std::array<T, SlotCount + 1>;

constexpr std::size_t SnapshotSize = 6296;

// Byte offsets of the document record.
namespace record {
constexpr std::size_t Dt = 0;
constexpr std::size_t Parameters = 10;  // 18 values, A1 .. G3
constexpr std::size_t X = 192;
constexpr std::size_t Y = 1192;
constexpr std::size_t Z = 2192;
constexpr std::size_t V = 3192;
constexpr std::size_t U = 4192;
constexpr std::size_t W = 5192;
constexpr std::size_t Present = 6192;
}  // namespace record

constexpr int ParameterCount = 18;
constexpr int GroupCount = 3;
constexpr int ParametersPerGroup = 6;

// The scene: everything a document holds and a step reads (slots, parameters, dt, the step
// count, the record buffer whose padding a document keeps), as one value that is copied, compared
// and restored in one assignment. Undo keeps it before and after each command.
struct SceneState {
  int N = 0;
  real dt = 0.0L;
  real A1 = 0.0L, B1 = 0.0L, C1 = 0.0L, D1 = 0.0L, F1 = 0.0L, G1 = 0.0L;
  real A2 = 0.0L, B2 = 0.0L, C2 = 0.0L, D2 = 0.0L, F2 = 0.0L, G2 = 0.0L;
  real A3 = 0.0L, B3 = 0.0L, C3 = 0.0L, D3 = 0.0L, F3 = 0.0L, G3 = 0.0L;
  int StepCount = 0;

  // Current positions and velocities: the pair law reads only X, Y, Z.
  SlotArray<real> X{}, Y{}, Z{}, V{}, U{}, W{};
  // Working copies: the integrator advances these and copies them back.
  SlotArray<real> NewX{}, NewY{}, NewZ{}, NewV{}, NewU{}, NewW{};
  // Display copies: the drawing reads these (in figure mode they hold the figure).
  SlotArray<real> ShownX{}, ShownY{}, ShownZ{};
  SlotArray<bool> Present{};

  std::array<unsigned char, SnapshotSize> Snapshot{};

  // Bit for bit: every real by its ten bytes, so +0 and -0 differ and a NaN equals itself.
  friend bool operator==(const SceneState& a, const SceneState& b);
};

// The scene and what the window keeps with it: the run flag, the figure shown, the document's
// names and the listing's choice. `model.Scene() = kept` restores a scene.
struct Model : SceneState {
  bool Stopped = false;
  bool ShowTime = false;
  bool SpiralShown = false;
  std::string DocFileName;
  std::string LastDocFileName;
  bool ListVelocities = false;

  SceneState& Scene() { return *this; }
  const SceneState& Scene() const { return *this; }
};

// The parameters in record order: A1, B1, C1, D1, F1, G1, A2, ..., G3.
real& Parameter(SceneState& scene, int index);
real Parameter(const SceneState& scene, int index);
extern const std::array<const char*, ParameterCount> ParameterNames;

// The six parameters of one group (1, 2 or 3), in the order A, B, C, D, F, G.
struct GroupParameters {
  real A, B, C, D, F, G;
};
GroupParameters ParametersOfGroup(const Model& model, int group);

// The group of a slot: 1 for 1 .. N-50, 2 for N-49 .. N-25, 3 for N-24 .. N.
inline int GroupOf(int n, int slot) {
  if (slot <= n - 50) return 1;
  if (slot <= n - 25) return 2;
  return 3;
}

// Brings the working and display copies of one slot into line with its current position and
// velocity: NewX = ShownX = X (likewise y, z), NewV = V (likewise U, W).
void AlignCopies(Model& model, int slot);

// Copies dt, the parameters, Present[1..N] and the current arrays into Snapshot. Padding and
// elements beyond N keep what the buffer held (the last document read, or zeros); so does a flag
// byte other than 1 that still says what its slot is, a flag that says otherwise becomes 0 or 1.
void TakeSnapshot(Model& model);

}  // namespace velmora
