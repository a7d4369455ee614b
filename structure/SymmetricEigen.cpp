#include "structure/SymmetricEigen.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace velmora {

namespace {

constexpr int MaxSweeps = 64;

// One rotation in the (p, q) plane that zeroes a[p][q]: with theta = (a_qq - a_pp) / (2 a_pq),
// t = tan(phi) = sign(theta) / (|theta| + sqrt(theta^2 + 1)) is the smaller root of
// t^2 + 2 theta t - 1 = 0, c = 1 / sqrt(t^2 + 1), s = t c; the columns p, q of the
// eigenvector matrix turn with it.
void Rotate(Matrix3& a, Matrix3& v, int p, int q) {
  const real theta = (a[q][q] - a[p][p]) / (2.0L * a[p][q]);
  // For a large theta, t = 1 / (2 theta) to the last bit, and theta^2 could overflow.
  const real t = std::fabs(theta) > 0x1p32L
                     ? 1.0L / (2.0L * theta)
                     : (theta >= 0.0L ? 1.0L : -1.0L) / (std::fabs(theta) + std::sqrt(theta * theta + 1.0L));
  const real c = 1.0L / std::sqrt(t * t + 1.0L);
  const real s = t * c;
  const real apq = a[p][q];
  a[p][p] -= t * apq;
  a[q][q] += t * apq;
  a[p][q] = a[q][p] = 0.0L;
  for (int r = 0; r < 3; ++r) {
    if (r != p && r != q) {
      const real arp = a[r][p], arq = a[r][q];
      a[r][p] = a[p][r] = c * arp - s * arq;
      a[r][q] = a[q][r] = s * arp + c * arq;
    }
    const real vrp = v[r][p], vrq = v[r][q];
    v[r][p] = c * vrp - s * vrq;
    v[r][q] = s * vrp + c * vrq;
  }
}

// An off-diagonal element too small to change either diagonal element it meets.
bool Negligible(const Matrix3& a, int p, int q) {
  const real off = std::fabs(a[p][q]);
  return off == 0.0L ||
         (std::fabs(a[p][p]) + off == std::fabs(a[p][p]) && std::fabs(a[q][q]) + off == std::fabs(a[q][q]));
}

}  // namespace

EigenSystem SymmetricEigen(const Matrix3& matrix) {
  Matrix3 a{};
  for (int i = 0; i < 3; ++i)
    for (int j = i; j < 3; ++j) a[i][j] = a[j][i] = matrix[i][j];
  Matrix3 v{};
  for (int i = 0; i < 3; ++i) v[i][i] = 1.0L;
  constexpr std::pair<int, int> Planes[] = {{0, 1}, {0, 2}, {1, 2}};
  for (int sweep = 0; sweep < MaxSweeps; ++sweep) {
    bool rotated = false;
    for (const auto& [p, q] : Planes) {
      if (Negligible(a, p, q)) continue;
      Rotate(a, v, p, q);
      rotated = true;
    }
    if (!rotated) break;
  }
  std::array<int, 3> order{};
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int x, int y) { return a[x][x] < a[y][y]; });
  EigenSystem result{};
  for (int k = 0; k < 3; ++k) {
    result.values[k] = a[order[k]][order[k]];
    for (int r = 0; r < 3; ++r) result.vectors[k][r] = v[r][order[k]];
  }
  return result;
}

}  // namespace velmora
