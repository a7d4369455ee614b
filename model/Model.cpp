#include "model/Model.h"

namespace velmora {

namespace {

using ParameterMember = real Model::*;

constexpr std::array<ParameterMember, ParameterCount> ParameterMembers = {
    &Model::A1, &Model::B1, &Model::C1, &Model::D1, &Model::F1, &Model::G1,
    &Model::A2, &Model::B2, &Model::C2, &Model::D2, &Model::F2, &Model::G2,
    &Model::A3, &Model::B3, &Model::C3, &Model::D3, &Model::F3, &Model::G3};

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

const std::array<const char*, ParameterCount> ParameterNames = {"A1", "B1", "C1", "D1", "F1", "G1",
                                                                "A2", "B2", "C2", "D2", "F2", "G2",
                                                                "A3", "B3", "C3", "D3", "F3", "G3"};

real& Parameter(Model& model, int index) { return model.*ParameterMembers.at(index); }

real Parameter(const Model& model, int index) { return model.*ParameterMembers.at(index); }

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
