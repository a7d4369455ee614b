#include "sim/Stepper.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

#include "model/CheckedReal.h"
#include "model/FloatingPointFaults.h"
#include "model/ProgramError.h"
#include "sim/BoundaryModes.h"
#include "sim/PairLaw.h"

namespace velmora {

namespace {

// The working position and velocity of one axis.
struct Axis {
  SlotArray<real> Model::*newPosition;
  SlotArray<real> Model::*newVelocity;
};
constexpr Axis AxisX{&Model::NewX, &Model::NewV};
constexpr Axis AxisY{&Model::NewY, &Model::NewU};
constexpr Axis AxisZ{&Model::NewZ, &Model::NewW};

// Semi-implicit Euler on one axis: v := f v + a dt, then q := q + v dt with the new velocity.
// Each value is formed before it is stored; with CheckedReal an operation that faults throws
// before its store, and the velocity stored before a faulting position update stays.
template <class Number>
void Advance(Model& m, int i, const Axis& axis, real acceleration, real damping) {
  real& v = (m.*axis.newVelocity)[i];
  real& q = (m.*axis.newPosition)[i];
  const Number h = Number(acceleration) * m.dt;
  const Number damped = Number(damping) * v;
  const Number newV = damped + h;
  v = static_cast<real>(newV);
  const Number move = Number(v) * m.dt;
  const Number newQ = Number(q) + move;
  q = static_cast<real>(newQ);
}

void CopyBack(Model& m, int i) {
  m.X[i] = m.NewX[i];
  m.V[i] = m.NewV[i];
  m.Y[i] = m.NewY[i];
  m.U[i] = m.NewU[i];
  m.Z[i] = m.NewZ[i];
  m.W[i] = m.NewW[i];
  m.ShownX[i] = m.NewX[i];
  m.ShownY[i] = m.NewY[i];
  m.ShownZ[i] = m.NewZ[i];
}

void CopyBackX(Model& m, int i) {
  m.X[i] = m.NewX[i];
  m.V[i] = m.NewV[i];
  m.ShownX[i] = m.NewX[i];
}

// The slot ranges of the Blockade schedule: 1-70 and 81-100 move freely, 71-75 only along x,
// 76-80 not at all. Only present slots are touched.
struct BlockadeRanges {
  int freeLast, freeFirst2, xFirst, xLast;
};
BlockadeRanges BlockadeRangesOf(int n) { return {n - 30, n - 19, n - 29, n - 25}; }

template <class Visit>
void ForPresent(const Model& m, int first, int last, Visit visit) {
  for (int i = first; i <= last; ++i)
    if (m.Present[i]) visit(i);
}

// Everything one step changes, kept so that a faulting fast step can be undone and re-run literally.
struct Motion {
  SlotArray<real> X, Y, Z, V, U, W, NewX, NewY, NewZ, NewV, NewU, NewW, ShownX, ShownY, ShownZ;

  explicit Motion(const Model& m)
      : X(m.X),
        Y(m.Y),
        Z(m.Z),
        V(m.V),
        U(m.U),
        W(m.W),
        NewX(m.NewX),
        NewY(m.NewY),
        NewZ(m.NewZ),
        NewV(m.NewV),
        NewU(m.NewU),
        NewW(m.NewW),
        ShownX(m.ShownX),
        ShownY(m.ShownY),
        ShownZ(m.ShownZ) {}

  void RestoreInto(Model& m) const {
    m.X = X, m.Y = Y, m.Z = Z, m.V = V, m.U = U, m.W = W;
    m.NewX = NewX, m.NewY = NewY, m.NewZ = NewZ, m.NewV = NewV, m.NewU = NewU, m.NewW = NewW;
    m.ShownX = ShownX, m.ShownY = ShownY, m.ShownZ = ShownZ;
  }
};

// The literal advance: the force of the axis per call, then the update, every operation checked;
// a fault stops at the operation that raised it.
void AdvanceLiteral(Model& m, const LawSettings& law, int i, real damping) {
  Advance<CheckedReal>(m, i, AxisX, ForceX(m, law, i), damping);
  Advance<CheckedReal>(m, i, AxisY, ForceY(m, law, i), damping);
  Advance<CheckedReal>(m, i, AxisZ, ForceZ(m, law, i), damping);
}

// The counter is 32 bits wide and wraps from 2147483647 to -2147483648.
int NextStep(int counter) { return static_cast<int>(static_cast<std::uint32_t>(counter) + 1u); }

}  // namespace

real DampingFactor(bool cool) { return cool ? 0.95L : 1.0L; }

Stepper::Stepper(Evaluation evaluation, int threads)
    : evaluation_(evaluation), threads_(threads), law_(threads) {}

void Stepper::Step(Model& model, const StepSettings& settings, int& counter) {
  counter = NextStep(counter);
  ClearFaultFlags();
  if (evaluation_ == Evaluation::Literal)
    LiteralSchedule(model, settings);
  else
    FastSchedule(model, settings);
  ApplyBoundaryMode(model, settings.Mode);
  model.StepCount = counter;
}

void Stepper::RunStep(Model& model, const StepSettings& settings, int& counter) {
  try {
    Step(model, settings, counter);
  } catch (const FloatingPointFault& fault) {
    throw StepFault(fault, counter);
  }
}

void Stepper::LiteralSchedule(Model& m, const StepSettings& settings) const {
  const LawSettings& law = settings.Law;
  const real damping = DampingFactor(settings.Cool);
  const int n = m.N;
  if (!settings.Blockade) {
    // Every slot, present or not, is advanced from the positions at the start of the step:
    // the law reads only X, Y, Z and this pass writes only the working arrays.
    for (int i = 1; i <= n; ++i) AdvanceLiteral(m, law, i, damping);
    for (int i = 1; i <= n; ++i) CopyBack(m, i);
    return;
  }
  const BlockadeRanges b = BlockadeRangesOf(n);
  ForPresent(m, 1, b.freeLast, [&](int i) { AdvanceLiteral(m, law, i, damping); });
  ForPresent(m, b.freeFirst2, n, [&](int i) { AdvanceLiteral(m, law, i, damping); });
  ForPresent(m, 1, b.freeLast, [&](int i) { CopyBack(m, i); });
  ForPresent(m, b.freeFirst2, n, [&](int i) { CopyBack(m, i); });
  // 71-75 feel the new positions of 1-70 and 81-100.
  ForPresent(m, b.xFirst, b.xLast,
             [&](int i) { Advance<CheckedReal>(m, i, AxisX, ForceX(m, law, i), damping); });
  ForPresent(m, b.xFirst, b.xLast, [&](int i) { CopyBackX(m, i); });
}

void Stepper::FastSchedule(Model& model, const StepSettings& settings) {
  const Motion start(model);
  law_.Prepare(model, settings.Law);
  const real damping = DampingFactor(settings.Cool);
  const bool clean =
      settings.Blockade ? FastBlockadeSchedule(model, damping) : FastFullSchedule(model, damping);
  if (clean) return;
  // Somewhere in the step an operation faulted: undo it and let the literal order stop at the
  // exact slot and axis, leaving what that order leaves and reporting its fault.
  start.RestoreInto(model);
  ClearFaultFlags();
  LiteralSchedule(model, settings);
}

bool Stepper::FastFullSchedule(Model& m, real damping) {
  const int n = m.N;
  SlotArray<bool> targets{};
  for (int i = 1; i <= n; ++i) targets[i] = true;
  if (law_.Accelerations(m, targets, ax_, ay_, az_)) return false;
  for (int i = 1; i <= n; ++i) {
    Advance<real>(m, i, AxisX, ax_[i], damping);
    Advance<real>(m, i, AxisY, ay_[i], damping);
    Advance<real>(m, i, AxisZ, az_[i], damping);
  }
  if (FaultFlagged()) return false;
  for (int i = 1; i <= n; ++i) CopyBack(m, i);
  return true;
}

bool Stepper::FastBlockadeSchedule(Model& m, real damping) {
  const int n = m.N;
  const BlockadeRanges b = BlockadeRangesOf(n);
  SlotArray<bool> targets{};
  for (int i = 1; i <= n; ++i) targets[i] = m.Present[i] && (i <= b.freeLast || i >= b.freeFirst2);
  if (law_.Accelerations(m, targets, ax_, ay_, az_)) return false;
  auto advance = [&](int i) {
    Advance<real>(m, i, AxisX, ax_[i], damping);
    Advance<real>(m, i, AxisY, ay_[i], damping);
    Advance<real>(m, i, AxisZ, az_[i], damping);
  };
  ForPresent(m, 1, b.freeLast, advance);
  ForPresent(m, b.freeFirst2, n, advance);
  if (FaultFlagged()) return false;
  ForPresent(m, 1, b.freeLast, [&](int i) { CopyBack(m, i); });
  ForPresent(m, b.freeFirst2, n, [&](int i) { CopyBack(m, i); });

  SlotArray<bool> xTargets{};
  for (int i = b.xFirst; i <= b.xLast; ++i) xTargets[i] = m.Present[i];
  if (law_.Accelerations(m, xTargets, ax_, ay_, az_)) return false;
  ForPresent(m, b.xFirst, b.xLast, [&](int i) { Advance<real>(m, i, AxisX, ax_[i], damping); });
  if (FaultFlagged()) return false;
  ForPresent(m, b.xFirst, b.xLast, [&](int i) { CopyBackX(m, i); });
  return true;
}

void ThrowIfNotANumber(const Model& m) {
  FaultFlagsKept flagsKept;  // comparing an encoding the FPU refuses flags an invalid operation
  const auto refuse = [](const std::string& what) {
    throw FloatingPointFault(std::string(InvalidOperationText) + ": " + what);
  };
  if (std::isnan(m.dt)) refuse("dt");
  for (int p = 0; p < ParameterCount; ++p)
    if (std::isnan(Parameter(m, p))) refuse(ParameterNames[p]);
  static constexpr std::pair<const char*, SlotArray<real> Model::*> Columns[] = {
      {"X", &Model::X}, {"Y", &Model::Y}, {"Z", &Model::Z},
      {"V", &Model::V}, {"U", &Model::U}, {"W", &Model::W}};
  for (int i = 1; i <= m.N; ++i) {
    if (!m.Present[i]) continue;
    for (const auto& [name, column] : Columns)
      if (std::isnan((m.*column)[i])) refuse(std::string(name) + " of slot " + std::to_string(i));
  }
}

void ZeroVelocities(Model& model) {
  for (int i = 1; i <= model.N; ++i) {
    model.V[i] = 0.0L;
    model.U[i] = 0.0L;
    model.W[i] = 0.0L;
    model.NewV[i] = 0.0L;
    model.NewU[i] = 0.0L;
    model.NewW[i] = 0.0L;
  }
}

}  // namespace velmora
