#pragma once
// The scenes the benchmarks run: 100 present slots within |x|, |y|, |z| <= 1.3 with the easy
// square's parameters (A 1, B 2.718, C 5, D 10, F 20, G 30).

#include <random>

#include "model/Model.h"

namespace velmora::bench {

// mixedGroups: groups 2 and 3 get the easy square's lengths scaled by 1.05 and 0.95, so that no
// pair of slots from different groups can share its Phi; otherwise all three groups are equal.
inline Model HundredSlotScene(bool mixedGroups) {
  Model m;
  m.N = SlotCount;
  m.dt = 0.001L;
  const real scale[GroupCount + 1] = {0.0L, 1.0L, mixedGroups ? 1.05L : 1.0L, mixedGroups ? 0.95L : 1.0L};
  for (int g = 1; g <= GroupCount; ++g) {
    const int first = (g - 1) * ParametersPerGroup;
    const real values[ParametersPerGroup] = {1.0L, 2.718L, 5.0L, 10.0L, 20.0L, 30.0L};
    Parameter(m, first) = values[0];
    for (int p = 1; p < ParametersPerGroup; ++p) Parameter(m, first + p) = values[p] * scale[g];
  }
  std::mt19937_64 rng(1256);
  std::uniform_real_distribution<double> coordinate(-1.3, 1.3);
  for (int i = 1; i <= m.N; ++i) {
    m.Present[i] = true;
    m.X[i] = m.NewX[i] = m.ShownX[i] = coordinate(rng);
    m.Y[i] = m.NewY[i] = m.ShownY[i] = coordinate(rng);
    m.Z[i] = m.NewZ[i] = m.ShownZ[i] = coordinate(rng);
  }
  return m;
}

}  // namespace velmora::bench
