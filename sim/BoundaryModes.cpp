#include "sim/BoundaryModes.h"

#include "model/FloatingPointFaults.h"

namespace velmora {

namespace {

// The rule shapes; q is a working coordinate, w the working velocity along the same axis.
// A NaN in a comparison is an invalid operation: the mode stops at the rule that met it, and
// since a comparison with NaN is false, that rule has changed nothing.

// Removes s once per step above L and below -L; it does not clamp.
void SoftLimit(real& w, real L, real s) {
  if (w > L) w = w - s;
  if (w < -L) w = w + s;
  ThrowIfFaulted();
}

// A wrap sends a particle across to the far side and keeps its velocity.
void UpperWrap(real& q, real h, real o) {
  if (q > h) q = o - q;
  ThrowIfFaulted();
}
void LowerWrap(real& q, real h, real o) {
  if (q < -h) q = -q - o;
  ThrowIfFaulted();
}

// A wall reverses the velocity component and nudges the coordinate back by d.
void UpperWall(real& q, real& w, real h, real d) {
  if (q > h) {
    w = -w;
    q = q - d;
  }
  ThrowIfFaulted();
}
void LowerWall(real& q, real& w, real h, real d) {
  if (q < -h) {
    w = -w;
    q = q + d;
  }
  ThrowIfFaulted();
}

void Band(real& q, real lo, real hi, real s) {
  if (q < lo) q = q + s;
  if (q > hi) q = q - s;
  ThrowIfFaulted();
}

void Channel(real& q, real& w, real lo, real hi, real d) {
  if (q < lo) {
    w = -w;
    q = q + d;
  }
  if (q > hi) {
    w = -w;
    q = q - d;
  }
  ThrowIfFaulted();
}

void SpeedLimits(Model& m, int i, real limitX, real stepX, real limitYZ, real stepYZ) {
  SoftLimit(m.NewV[i], limitX, stepX);
  SoftLimit(m.NewU[i], limitYZ, stepYZ);
  SoftLimit(m.NewW[i], limitYZ, stepYZ);
}

void WallsYZ(Model& m, int i) {
  UpperWall(m.NewY[i], m.NewU[i], 1.3L, 0.001L);
  LowerWall(m.NewY[i], m.NewU[i], 1.3L, 0.001L);
  UpperWall(m.NewZ[i], m.NewW[i], 1.3L, 0.001L);
  LowerWall(m.NewZ[i], m.NewW[i], 1.3L, 0.001L);
}

void BandX(Model& m, int first, int last, real lo, real hi) {
  for (int i = first; i <= last; ++i) Band(m.NewX[i], lo, hi, 0.05L);
}

// Hot contact wraps group 1 across |x| <= 3.3; cold contact reflects it there. Both keep group 1
// inside |y|, |z| <= 1.3 and hold slots 51-55 in a thin band of x.
void ContactMode(Model& m, bool hot) {
  const int n = m.N;
  for (int i = 1; i <= n - 50; ++i) {
    if (hot)
      UpperWrap(m.NewX[i], 3.3L, 0.5L);
    else
      UpperWall(m.NewX[i], m.NewV[i], 3.3L, 0.001L);
    SpeedLimits(m, i, 100.0L, 5.0L, 100.0L, 5.0L);
  }
  for (int i = 1; i <= n - 50; ++i) {
    if (hot)
      LowerWrap(m.NewX[i], 3.3L, 0.5L);
    else
      LowerWall(m.NewX[i], m.NewV[i], 3.3L, 0.001L);
    WallsYZ(m, i);
  }
  BandX(m, 51, n - 45, -1.0L, -0.945L);
}

// The current modes: group 1 wraps in x and is walled in z; its first quarter moves in a
// y-channel of width 0.5 above slot 57, the second quarter in one below slot 67.
struct CurrentGeometry {
  real wrap, wallZ;
  int band1First, band1Last;
  real band1Lo, band1Hi;
  int band2First, band2Last;
  real band2Lo, band2Hi;
};

void CurrentMode(Model& m, const CurrentGeometry& c) {
  const int n = m.N;
  for (int i = 1; i <= n - 50; ++i) {
    UpperWrap(m.NewX[i], c.wrap, 0.05L);
    LowerWrap(m.NewX[i], c.wrap, 0.05L);
    SpeedLimits(m, i, 100.0L, 5.0L, 50.0L, 25.0L);
  }
  for (int i = 1; i <= n - 50; ++i) {
    UpperWall(m.NewZ[i], m.NewW[i], c.wallZ, 0.01L);
    LowerWall(m.NewZ[i], m.NewW[i], c.wallZ, 0.01L);
  }
  real yLow = 0.0L, yHigh = 0.0L;
  if (n >= 51) {
    yLow = m.NewY[57];
    yHigh = m.NewY[67];
  }
  for (int i = 1; i <= n - 75; ++i) Channel(m.NewY[i], m.NewU[i], yLow, yLow + 0.5L, 0.01L);
  for (int i = 26; i <= n - 50; ++i) Channel(m.NewY[i], m.NewU[i], yHigh - 0.5L, yHigh, 0.01L);
  BandX(m, c.band1First, c.band1Last, c.band1Lo, c.band1Hi);
  BandX(m, c.band2First, c.band2Last, c.band2Lo, c.band2Hi);
}

}  // namespace

void ApplyBoundaryMode(Model& model, BoundaryMode mode) {
  const int n = model.N;
  switch (mode) {
    case BoundaryMode::Free:
      return;
    case BoundaryMode::HotContact:
      return ContactMode(model, true);
    case BoundaryMode::ColdContact:
      return ContactMode(model, false);
    case BoundaryMode::ElecCurrent1:
      return CurrentMode(model, {1.11L, 0.44L, 50, n - 46, -1.0L, -0.945L, 60, n - 36, -1.0L, -0.945L});
    case BoundaryMode::ElecCurrent2:
      return CurrentMode(model, {1.0L, 0.4L, 55, n - 40, -0.3L, -0.245L, 65, n - 30, 0.3L, 0.355L});
  }
}

}  // namespace velmora
