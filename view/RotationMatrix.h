#pragma once
// The view's rotation: Rx(teta) * Ry(psi) * Rz(phi), the turns about the x, y and z axes.

#include "model/Point3.h"
#include "model/Real.h"

namespace velmora {

struct RotationMatrix {
  real M11 = 0.0L, M12 = 0.0L, M13 = 0.0L;
  real M21 = 0.0L, M22 = 0.0L, M23 = 0.0L;
  real M31 = 0.0L, M32 = 0.0L, M33 = 0.0L;
};

// The matrix of the three angles (radians), each element evaluated as its closed form is written.
RotationMatrix MatrixOfAngles(real teta, real psi, real phi);

// m * p, each row summed left to right.
Point3 Rotate(const RotationMatrix& m, const Point3& p);

}  // namespace velmora
