#pragma once
// Brings a scene to rest at the nearest state where every present slot feels no acceleration,
// by FIRE (the fast inertial relaxation engine of Bitzek, Koskinen, Gaehler, Moseler and
// Gumbsch, 2006): a run whose velocities are turned towards the accelerations and whose time step
// grows while the motion goes downhill, and which stops dead and shrinks its step as soon as it
// goes uphill. It needs accelerations only, so it takes any law; where the pair law is not
// symmetric (groups with different parameters) the state it reaches is an equilibrium, not the
// minimum of an energy.
//
// Parameters, as the paper gives them: N_min 5, f_inc 1.1, f_dec 0.5, alpha_start 0.1,
// f_alpha 0.99; the time step starts at the scene's dt and grows to at most 10 dt. One change:
// a step from rest (the first one) does not count as uphill, where the paper's P <= 0 would halve
// the time step before anything moved.
// Only present slots move; absent slots keep their places. The sums run over the present slots
// in slot order on one thread, and the accelerations are the same bits on any number of threads,
// so a relaxation gives the same bits on every driver.

#include <functional>

#include "model/Model.h"
#include "sim/FastLaw.h"
#include "sim/StepSettings.h"

namespace velmora {

// The accelerations of the slots 1..N at the model's positions X, Y, Z. A floating-point fault
// throws FloatingPointFault.
using AccelerationField =
    std::function<void(const Model& model, SlotArray<real>& ax, SlotArray<real>& ay, SlotArray<real>& az)>;

// The program's own law, evaluated by `fast` (see EveryAcceleration).
AccelerationField LawField(FastLaw& fast, const LawSettings& law);

struct FireParameters {
  static constexpr int MinDownhillSteps = 5;        // N_min
  static constexpr real Increase = 1.1L;            // f_inc
  static constexpr real Decrease = 0.5L;            // f_dec
  static constexpr real AlphaStart = 0.1L;          // alpha_start
  static constexpr real AlphaDecrease = 0.99L;      // f_alpha
  static constexpr real LargestStepFactor = 10.0L;  // dt_max = 10 dt
};

class FireRelaxer {
 public:
  // Starts from rest at the model's positions with the scene's dt, and evaluates the
  // accelerations there; a fault throws StepFault of step 1, as a run's first step would.
  FireRelaxer(const Model& model, AccelerationField field);

  // One FIRE step: mixes and resets the velocities, moves the present slots (X and its working
  // and display copies) and evaluates the accelerations at the new positions. A fault throws
  // StepFault with the number of this step and leaves the model as the last step left it.
  void Step(Model& model);

  int Steps() const { return steps_; }
  // The largest |a| of a present slot at the current positions (0 with none).
  real LargestAcceleration() const { return largest_; }

 private:
  void Evaluate(const Model& model);
  void Steer(const Model& model);

  AccelerationField field_;
  SlotArray<real> ax_{}, ay_{}, az_{};
  SlotArray<real> vx_{}, vy_{}, vz_{};
  real dt_, largestDt_;
  real alpha_ = FireParameters::AlphaStart;
  int downhill_ = 0;
  int steps_ = 0;
  real largest_ = 0.0L;
};

struct RelaxResult {
  int steps = 0;
  real largestAcceleration = 0.0L;
  bool converged = false;  // the largest acceleration is at most the tolerance
};

// Called after every step with the steps taken and the largest acceleration; it may throw to end
// the relaxation, which leaves the model as the last step left it.
using RelaxWatcher = std::function<void(int steps, real largestAcceleration)>;

// The present slots at rest: V, U, W and their working copies 0.
void ComeToRest(Model& model);

// Steps until the largest acceleration of a present slot is at most `tolerance` or `stepLimit`
// steps are taken; then the present slots are at rest (V, U, W and their working copies 0).
// A scene holding a value that is not a number throws FloatingPointFault before anything is
// done (see ThrowIfNotANumber); a fault throws StepFault (see FireRelaxer) before the velocities
// are touched.
RelaxResult Relax(Model& model, const AccelerationField& field, real tolerance, int stepLimit,
                  const RelaxWatcher& watch = nullptr);

}  // namespace velmora
