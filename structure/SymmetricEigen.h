#pragma once
// Eigenvalues and eigenvectors of a symmetric 3x3 matrix by Jacobi rotations: each rotation
// zeroes one off-diagonal element, and sweeps over the three repeat until none is left that
// could still change a diagonal element. Only +, -, *, / and sqrt: the same bits everywhere.

#include <array>

#include "model/Real.h"

namespace velmora {

using Matrix3 = std::array<std::array<real, 3>, 3>;

struct EigenSystem {
  std::array<real, 3> values;                  // ascending
  std::array<std::array<real, 3>, 3> vectors;  // vectors[k] is the unit eigenvector of values[k]
};

// `matrix` must be symmetric; only its upper triangle is read.
EigenSystem SymmetricEigen(const Matrix3& matrix);

}  // namespace velmora
