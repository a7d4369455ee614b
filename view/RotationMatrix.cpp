#include "view/RotationMatrix.h"

#include "math/Transcendental.h"

namespace velmora {

// Multiplying out Rx(t) * Ry(p) * Rz(f) with
//   Rx = [1 0 0; 0 ct -st; 0 st ct], Ry = [cp 0 sp; 0 1 0; -sp 0 cp], Rz = [cf -sf 0; sf cf 0; 0 0 1]
// gives the closed forms below; the products are taken left to right as written.
RotationMatrix MatrixOfAngles(real teta, real psi, real phi) {
  const real st = Sin(teta), ct = Cos(teta);
  const real sp = Sin(psi), cp = Cos(psi);
  const real sf = Sin(phi), cf = Cos(phi);
  RotationMatrix m;
  m.M11 = cp * cf;
  m.M12 = -cp * sf;
  m.M13 = sp;
  m.M21 = st * sp * cf + ct * sf;
  m.M22 = -st * sp * sf + ct * cf;
  m.M23 = -st * cp;
  m.M31 = -ct * sp * cf + st * sf;
  m.M32 = ct * sp * sf + st * cf;
  m.M33 = ct * cp;
  return m;
}

Point3 Rotate(const RotationMatrix& m, const Point3& p) {
  return {m.M11 * p.X + m.M12 * p.Y + m.M13 * p.Z, m.M21 * p.X + m.M22 * p.Y + m.M23 * p.Z,
          m.M31 * p.X + m.M32 * p.Y + m.M33 * p.Z};
}

}  // namespace velmora
