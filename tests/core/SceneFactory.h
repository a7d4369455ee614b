#pragma once
// Scenes for the simulation tests.

#include <random>

#include "bench/BenchmarkScenes.h"
#include "model/Model.h"
#include "sim/StepSettings.h"
#include "sim/Stepper.h"
#include "tests/core/Shapes.h"

namespace velmora::testing {

// Parameters for every group: A, B, C, D, F, G.
inline void SetGroup(Model& m, int group, real A, real B, real C, real D, real F, real G) {
  const int first = (group - 1) * ParametersPerGroup;
  const real values[] = {A, B, C, D, F, G};
  for (int p = 0; p < ParametersPerGroup; ++p) Parameter(m, first + p) = values[p];
}

// A length parameter so large that its shell term underflows to exactly 0 at any distance used here.
inline constexpr real Vanishing = 1.0e6L;

// Places slot i at (x, y, z) with velocity (v, u, w), at rest unless told, present, with all its
// copies in line.
inline void Place(Model& m, int i, real x, real y, real z, real v = 0.0L, real u = 0.0L, real w = 0.0L) {
  m.Present[i] = true;
  m.X[i] = m.NewX[i] = m.ShownX[i] = x;
  m.Y[i] = m.NewY[i] = m.ShownY[i] = y;
  m.Z[i] = m.NewZ[i] = m.ShownZ[i] = z;
  m.V[i] = m.NewV[i] = v;
  m.U[i] = m.NewU[i] = u;
  m.W[i] = m.NewW[i] = w;
}

// The benchmark scene's parameters with only slots 97..100 present, at rest on the corners of a
// slightly shaken tetrahedron: a cluster that relaxes to the symmetric shape.
inline Model TetrahedronScene() {
  Model m = bench::HundredSlotScene(false);
  for (int i = 1; i <= m.N; ++i) m.Present[i] = false;
  const Points points = Shaken(Scaled(1.3L, Tetrahedron()), 0.05L, 3);
  for (int k = 0; k < 4; ++k) Place(m, 97 + k, points[k].X, points[k].Y, points[k].Z);
  ZeroVelocities(m);
  return m;
}

// Every slot in use and every value zero: what a document is read into.
inline Model EmptyDocument() {
  Model m;
  m.N = SlotCount;
  return m;
}

inline Model EmptyScene() {
  Model m;
  m.N = SlotCount;
  m.dt = 0.001L;
  for (int g = 1; g <= GroupCount; ++g) SetGroup(m, g, 1.0L, 2.718L, 5.0L, 10.0L, 20.0L, 30.0L);
  return m;
}

// A random cloud within |x|, |y|, |z| <= spread with random velocities; about `presence` of the
// slots present, and the three groups' parameters varied around the easy square's.
inline Model RandomScene(std::mt19937_64& rng, real spread, double presence, bool equalGroups) {
  Model m = EmptyScene();
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::bernoulli_distribution present(presence);
  for (int g = 1; g <= GroupCount; ++g) {
    const real f = equalGroups ? 1.0L : 1.0L + 0.1L * static_cast<real>(unit(rng));
    SetGroup(m, g, 1.0L + 0.5L * static_cast<real>(unit(rng)) * (equalGroups ? 0 : 1), 2.718L * f, 5.0L * f,
             10.0L * f, 20.0L * f, 30.0L * f);
  }
  if (equalGroups) {
    for (int p = ParametersPerGroup; p < ParameterCount; ++p)
      Parameter(m, p) = Parameter(m, p % ParametersPerGroup);
  }
  for (int i = 1; i <= m.N; ++i) {
    Place(m, i, spread * static_cast<real>(unit(rng)), spread * static_cast<real>(unit(rng)),
          spread * static_cast<real>(unit(rng)));
    m.Present[i] = present(rng);
    m.V[i] = m.NewV[i] = static_cast<real>(unit(rng));
    m.U[i] = m.NewU[i] = static_cast<real>(unit(rng));
    m.W[i] = m.NewW[i] = static_cast<real>(unit(rng));
  }
  return m;
}

// A cloud spread wide enough that no step of the batch runs' tests faults.
inline Model WideRandomScene(unsigned seed) {
  std::mt19937_64 rng(seed);
  return RandomScene(rng, 2.5L, 0.6, false);
}

// Every combination of the step's switches from the bits of a number: Functions3X1, Taoscope,
// Blockade, Cool, and the mode from the bits above those.
inline StepSettings SettingsOf(unsigned combination) {
  StepSettings s;
  s.Law.Functions3X1 = combination & 1;
  s.Law.Taoscope = combination & 2;
  s.Blockade = combination & 4;
  s.Cool = combination & 8;
  s.Mode = static_cast<BoundaryMode>((combination >> 4) % 5);
  return s;
}

}  // namespace velmora::testing
