#include "relax/FireRelaxer.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "model/FloatingPointFaults.h"
#include "sim/StepFault.h"
#include "sim/Stepper.h"

namespace velmora {

namespace {

using P = FireParameters;

// sum over the present slots of a.b, in slot order.
real PresentDot(const Model& m, const SlotArray<real>& ax, const SlotArray<real>& ay,
                const SlotArray<real>& az, const SlotArray<real>& bx, const SlotArray<real>& by,
                const SlotArray<real>& bz) {
  real sum = 0.0L;
  for (int i = 1; i <= m.N; ++i)
    if (m.Present[i]) sum += ax[i] * bx[i] + ay[i] * by[i] + az[i] * bz[i];
  return sum;
}

}  // namespace

AccelerationField LawField(FastLaw& fast, const LawSettings& law) {
  return [&fast, law](const Model& m, SlotArray<real>& ax, SlotArray<real>& ay, SlotArray<real>& az) {
    EveryAcceleration(fast, m, law, ax, ay, az);
  };
}

FireRelaxer::FireRelaxer(const Model& model, AccelerationField field)
    : field_(std::move(field)), dt_(model.dt), largestDt_(P::LargestStepFactor * model.dt) {
  try {
    ClearFaultFlags();
    Evaluate(model);
  } catch (const FloatingPointFault& fault) {
    throw StepFault(fault, 1);  // where a run's first step would fault
  }
}

void FireRelaxer::Evaluate(const Model& model) {
  field_(model, ax_, ay_, az_);
  real largestSquare = 0.0L;
  for (int i = 1; i <= model.N; ++i)
    if (model.Present[i])
      largestSquare = std::max(largestSquare, ax_[i] * ax_[i] + ay_[i] * ay_[i] + az_[i] * az_[i]);
  ThrowIfFaulted();
  largest_ = std::sqrt(largestSquare);
}

// P = F.v decides: downhill, v := (1 - alpha) v + alpha |v| F/|F|, and after N_min such steps in
// a row dt grows by f_inc (up to dt_max) and alpha shrinks by f_alpha; uphill (P < 0, or P = 0
// while moving across the force), the motion stops, dt shrinks by f_dec and alpha starts again.
// At rest (v = 0, as at the start) the motion has not gone uphill: the paper's P <= 0 would halve
// dt before the first move.
void FireRelaxer::Steer(const Model& m) {
  const real power = PresentDot(m, ax_, ay_, az_, vx_, vy_, vz_);
  const real speed = std::sqrt(PresentDot(m, vx_, vy_, vz_, vx_, vy_, vz_));
  if (power < 0.0L || (power == 0.0L && speed > 0.0L)) {
    vx_.fill(0.0L), vy_.fill(0.0L), vz_.fill(0.0L);
    dt_ *= P::Decrease;
    alpha_ = P::AlphaStart;
    downhill_ = 0;
    return;
  }
  if (speed > 0.0L) {
    const real strength = std::sqrt(PresentDot(m, ax_, ay_, az_, ax_, ay_, az_));
    const real keep = 1.0L - alpha_;
    const real turn = alpha_ * speed / strength;
    for (int i = 1; i <= m.N; ++i) {
      if (!m.Present[i]) continue;
      vx_[i] = keep * vx_[i] + turn * ax_[i];
      vy_[i] = keep * vy_[i] + turn * ay_[i];
      vz_[i] = keep * vz_[i] + turn * az_[i];
    }
  }
  if (downhill_ > P::MinDownhillSteps) {
    dt_ = std::min(dt_ * P::Increase, largestDt_);
    alpha_ *= P::AlphaDecrease;
  }
  ++downhill_;
}

// Semi-implicit Euler as in a run: v := v + a dt, then q := q + v dt with the new velocity. The
// new positions are formed apart and taken only when the step and the accelerations at them
// raised no fault.
void FireRelaxer::Step(Model& model) {
  const int step = steps_ + 1;
  const FireRelaxer saved = *this;
  Model moved = model;
  try {
    ClearFaultFlags();
    Steer(model);
    for (int i = 1; i <= model.N; ++i) {
      if (!model.Present[i]) continue;
      vx_[i] += ax_[i] * dt_, vy_[i] += ay_[i] * dt_, vz_[i] += az_[i] * dt_;
      moved.X[i] += vx_[i] * dt_, moved.Y[i] += vy_[i] * dt_, moved.Z[i] += vz_[i] * dt_;
    }
    ThrowIfFaulted();
    Evaluate(moved);
  } catch (const FloatingPointFault& fault) {
    *this = saved;
    throw StepFault(fault, step);
  }
  for (int i = 1; i <= model.N; ++i) {
    if (!model.Present[i]) continue;
    model.X[i] = moved.X[i], model.Y[i] = moved.Y[i], model.Z[i] = moved.Z[i];
    AlignCopies(model, i);
  }
  steps_ = step;
}

void ComeToRest(Model& model) {
  for (int i = 1; i <= model.N; ++i) {
    if (!model.Present[i]) continue;
    model.V[i] = model.U[i] = model.W[i] = 0.0L;
    AlignCopies(model, i);
  }
}

RelaxResult Relax(Model& model, const AccelerationField& field, real tolerance, int stepLimit,
                  const RelaxWatcher& watch) {
  ThrowIfNotANumber(model);
  FireRelaxer relaxer(model, field);
  while (!(relaxer.LargestAcceleration() <= tolerance) && relaxer.Steps() < stepLimit) {
    relaxer.Step(model);
    if (watch) watch(relaxer.Steps(), relaxer.LargestAcceleration());
  }
  ComeToRest(model);
  return {relaxer.Steps(), relaxer.LargestAcceleration(), relaxer.LargestAcceleration() <= tolerance};
}

}  // namespace velmora
