#pragma once
// Ideal shapes for the structure and relaxation tests, built from their textbook coordinates.

#include <cmath>
#include <random>
#include <vector>

#include "structure/Vector3.h"

namespace velmora::testing {

inline const real Golden = (1.0L + std::sqrt(5.0L)) / 2.0L;

// (a, b, c) with every sign (duplicates where a value is 0 are dropped).
inline Points Signed(real a, real b, real c) {
  Points points;
  for (int s = 0; s < 8; ++s) {
    const Point3 p{(s & 1) ? -a : a, (s & 2) ? -b : b, (s & 4) ? -c : c};
    bool seen = false;
    for (const Point3& q : points) seen = seen || (q.X == p.X && q.Y == p.Y && q.Z == p.Z);
    if (!seen) points.push_back(p);
  }
  return points;
}

// (a, b, c) with every sign in its three cyclic orders.
inline Points CyclicSigned(real a, real b, real c) {
  Points points;
  for (const Point3& p : Signed(a, b, c)) points.insert(points.end(), {p, {p.Y, p.Z, p.X}, {p.Z, p.X, p.Y}});
  return points;
}

inline Points Join(Points a, const Points& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

inline Points Scaled(real s, Points points) {
  for (Point3& p : points) p = s * p;
  return points;
}

inline Points Shifted(Points points, const Point3& by) {
  for (Point3& p : points) p = p + by;
  return points;
}

inline Points Tetrahedron() { return {{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}}; }
inline Points Octahedron() { return CyclicSigned(1, 0, 0); }
inline Points Cube() { return Signed(1, 1, 1); }
inline Points Icosahedron() { return CyclicSigned(0, 1, Golden); }  // edge 2
inline Points Dodecahedron() { return Join(Signed(1, 1, 1), CyclicSigned(0, 1 / Golden, Golden)); }

// A ring of `count` points at height z and radius r, the first at azimuth `offset` turns.
inline Points Ring(int count, real r, real z, real offset) {
  Points points;
  for (int k = 0; k < count; ++k) {
    const real angle = 2.0L * 3.14159265358979323846L * (offset + static_cast<real>(k) / count);
    points.push_back({r * std::cos(angle), r * std::sin(angle), z});
  }
  return points;
}

inline Points PentagonalBipyramid() {  // every edge 2 sin 36 degrees
  const real edge = 2.0L * std::sin(3.14159265358979323846L / 5.0L);
  const real h = std::sqrt(edge * edge - 1.0L);
  return Join(Ring(5, 1, 0, 0), {{0, 0, h}, {0, 0, -h}});
}

inline Points SquareAntiprism() {  // every edge sqrt 2
  const real h = std::sqrt(std::sqrt(2.0L));
  return Join(Ring(4, 1, h / 2, 0), Ring(4, 1, -h / 2, 0.125L));
}

// The 13-point icosahedron about its centre and the 55-point Mackay icosahedron (a second shell
// of the twelve vertices doubled and the middles of the thirty edges).
inline Points CentredIcosahedron() { return Join({{0, 0, 0}}, Icosahedron()); }
inline Points Mackay55() {
  const Points ico = Icosahedron();
  Points points = CentredIcosahedron();
  for (const Point3& v : ico) points.push_back(2.0L * v);
  for (std::size_t a = 0; a < ico.size(); ++a)
    for (std::size_t b = a + 1; b < ico.size(); ++b)
      if (Distance(ico[a], ico[b]) < 2.1L) points.push_back(ico[a] + ico[b]);
  return points;
}

// The 38-point truncated octahedron of the face-centred cubic lattice about an octahedral hole:
// integer points of odd coordinate sum with |x| + |y| + |z| <= 3 and every |coordinate| <= 2
// (nearest neighbours sqrt 2 apart).
inline Points TruncatedOctahedron38() {
  Points points;
  for (int x = -2; x <= 2; ++x)
    for (int y = -2; y <= 2; ++y)
      for (int z = -2; z <= 2; ++z)
        if (((x + y + z) & 1) != 0 && std::abs(x) + std::abs(y) + std::abs(z) <= 3)
          points.push_back({static_cast<real>(x), static_cast<real>(y), static_cast<real>(z)});
  return points;
}

// The 19-point double icosahedron: two centres on the axis, each a vertex of the other's
// icosahedron, sharing the ring between them (radius r of each icosahedron).
inline Points DoubleIcosahedron(real r) {
  const real h = r / std::sqrt(5.0L), ring = 2.0L * h;
  return Join(
      Join(Join(Ring(5, ring, 0, 0), Ring(5, ring, -r / 2 - h, 0.1L)), Ring(5, ring, r / 2 + h, 0.1L)),
      {{0, 0, -r / 2}, {0, 0, r / 2}, {0, 0, -1.5L * r}, {0, 0, 1.5L * r}});
}

// Every point moved by up to `amount` along each axis.
inline Points Shaken(Points points, real amount, unsigned seed) {
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  for (Point3& p : points)
    p = p + Point3{amount * static_cast<real>(unit(rng)), amount * static_cast<real>(unit(rng)),
                   amount * static_cast<real>(unit(rng))};
  return points;
}

}  // namespace velmora::testing
