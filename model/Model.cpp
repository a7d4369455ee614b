#include "model/Model.h"

#include <algorithm>

namespace velmora {

namespace {

using ParameterMember = real SceneState::*;

constexpr std::array<ParameterMember, ParameterCount> ParameterMembers = {
    &SceneState::A1, &SceneState::B1, &SceneState::C1, &SceneState::D1, &SceneState::F1, &SceneState::G1,
    &SceneState::A2, &SceneState::B2, &SceneState::C2, &SceneState::D2, &SceneState::F2, &SceneState::G2,
    &SceneState::A3, &SceneState::B3, &SceneState::C3, &SceneState::D3, &SceneState::F3, &SceneState::G3};

constexpr std::array<SlotArray<real> SceneState::*, 15> SlotColumns = {
    &SceneState::X,    &SceneState::Y,    &SceneState::Z,      &SceneState::V,      &SceneState::U,
    &SceneState::W,    &SceneState::NewX, &SceneState::NewY,   &SceneState::NewZ,   &SceneState::NewV,
    &SceneState::NewU, &SceneState::NewW, &SceneState::ShownX, &SceneState::ShownY, &SceneState::ShownZ};

bool SameColumn(const SlotArray<real>& a, const SlotArray<real>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), [](real x, real y) { return SameBits(x, y); });
}

void StoreSlots(Model& model, std::size_t offset, const SlotArray<real>& values) {
  for (int n = 1; n <= model.N; ++n)
    StoreExtended(&model.Snapshot[offset + ExtendedBytes * (n - 1)], values[n]);
}

// A flag byte says "present" whatever its nonzero value. The byte the last document held stays
// as long as it still says what the slot is, so that opening and saving a document changes none
// of its bytes; a slot whose presence changed is written as 0 or 1.
void StoreFlag(unsigned char& byte, bool present) {
  if ((byte != 0) != present) byte = present ? 1 : 0;
}

}  // namespace

bool operator==(const SceneState& a, const SceneState& b) {
  if (a.N != b.N || a.StepCount != b.StepCount || !SameBits(a.dt, b.dt) || a.Present != b.Present ||
      a.Snapshot != b.Snapshot)
    return false;
  for (const ParameterMember p : ParameterMembers)
    if (!SameBits(a.*p, b.*p)) return false;
  for (const auto column : SlotColumns)
    if (!SameColumn(a.*column, b.*column)) return false;
  return true;
}

const std::array<const char*, ParameterCount> ParameterNames = {"A1", "B1", "C1", "D1", "F1", "G1",
                                                                "A2", "B2", "C2", "D2", "F2", "G2",
                                                                "A3", "B3", "C3", "D3", "F3", "G3"};

real& Parameter(SceneState& scene, int index) { return scene.*ParameterMembers.at(index); }

real Parameter(const SceneState& scene, int index) { return scene.*ParameterMembers.at(index); }

GroupParameters ParametersOfGroup(const Model& model, int group) {
  const int first = (group - 1) * ParametersPerGroup;
  return {Parameter(model, first),     Parameter(model, first + 1), Parameter(model, first + 2),
          Parameter(model, first + 3), Parameter(model, first + 4), Parameter(model, first + 5)};
}

void AlignCopies(Model& model, int slot) {
  model.NewX[slot] = model.ShownX[slot] = model.X[slot];
  model.NewY[slot] = model.ShownY[slot] = model.Y[slot];
  model.NewZ[slot] = model.ShownZ[slot] = model.Z[slot];
  model.NewV[slot] = model.V[slot];
  model.NewU[slot] = model.U[slot];
  model.NewW[slot] = model.W[slot];
}

void TakeSnapshot(Model& model) {
  StoreExtended(&model.Snapshot[record::Dt], model.dt);
  for (int p = 0; p < ParameterCount; ++p)
    StoreExtended(&model.Snapshot[record::Parameters + ExtendedBytes * p], Parameter(model, p));
  for (int n = 1; n <= model.N; ++n) StoreFlag(model.Snapshot[record::Present + (n - 1)], model.Present[n]);
  StoreSlots(model, record::X, model.X);
  StoreSlots(model, record::Y, model.Y);
  StoreSlots(model, record::Z, model.Z);
  StoreSlots(model, record::V, model.V);
  StoreSlots(model, record::U, model.U);
  StoreSlots(model, record::W, model.W);
}

}  // namespace velmora
