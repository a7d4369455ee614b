#include "structure/PointGroup.h"

#include <algorithm>
#include <functional>
#include <numeric>

#include "structure/SymmetricEigen.h"
#include "structure/Turn.h"

namespace velmora {

namespace {

enum class Top { Asymmetric, Symmetric, Spherical };

Point3 Apply(const Matrix3& m, const Point3& p) {
  return {m[0][0] * p.X + m[0][1] * p.Y + m[0][2] * p.Z, m[1][0] * p.X + m[1][1] * p.Y + m[1][2] * p.Z,
          m[2][0] * p.X + m[2][1] * p.Y + m[2][2] * p.Z};
}

Point3 Unit(const Point3& p) { return (1.0L / Length(p)) * p; }

// Rodrigues: R = c I + s [a]x + (1 - c) a a^T for the turn 2 pi / n about the unit axis a.
Matrix3 Rotation(const Point3& a, int n) {
  const Turn t = TurnOfOrder(n);
  const real c = t.cosine, s = t.sine, k = 1.0L - c;
  return {{{c + a.X * a.X * k, a.X * a.Y * k - a.Z * s, a.X * a.Z * k + a.Y * s},
           {a.Y * a.X * k + a.Z * s, c + a.Y * a.Y * k, a.Y * a.Z * k - a.X * s},
           {a.Z * a.X * k - a.Y * s, a.Z * a.Y * k + a.X * s, c + a.Z * a.Z * k}}};
}

// I - 2 n n^T for the unit normal n.
Matrix3 Reflection(const Point3& n) {
  const real v[3] = {n.X, n.Y, n.Z};
  Matrix3 m{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) m[i][j] = (i == j ? 1.0L : 0.0L) - 2.0L * v[i] * v[j];
  return m;
}

Matrix3 Product(const Matrix3& a, const Matrix3& b) {
  Matrix3 m{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) m[i][j] += a[i][k] * b[k][j];
  return m;
}

constexpr Matrix3 Inversion{{{-1.0L, 0.0L, 0.0L}, {0.0L, -1.0L, 0.0L}, {0.0L, 0.0L, -1.0L}}};

// Consecutive values (sorted) a gap of at most `tolerance` apart form one group; the sizes.
std::vector<int> GroupSizes(std::vector<real> values, real tolerance) {
  std::sort(values.begin(), values.end());
  std::vector<int> sizes;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i == 0 || values[i] - values[i - 1] > tolerance) sizes.push_back(0);
    ++sizes.back();
  }
  return sizes;
}

// The points about their centre, sorted into shells by their distance from it.
class SymmetrySearch {
 public:
  SymmetrySearch(const Points& points, real tolerance) : tolerance_(tolerance) {
    const Point3 centre = Centre(points);
    for (const Point3& p : points) q_.push_back(p - centre);
    std::vector<int> order(q_.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return Length(q_[a]) < Length(q_[b]); });
    shellOf_.resize(q_.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
      if (k == 0 || Length(q_[order[k]]) - Length(q_[order[k - 1]]) > tolerance) shells_.emplace_back();
      shells_.back().push_back(order[k]);
      shellOf_[order[k]] = static_cast<int>(shells_.size()) - 1;
    }
    for (const Point3& p : q_) radius_ = std::max(radius_, Length(p));
    // An axis or a plane passes within a cone about the true one whose width grows with the
    // tolerance over the radius: directions closer than that are one element.
    angle_ = std::min(4.0L * tolerance / radius_, 0.1L);
    if (const auto fewest = FewestShells(); !fewest.empty()) fewest_ = fewest.front();
  }

  const Points& Relative() const { return q_; }

  // The shells with the fewest points, smallest first, up to the second one whose points do not
  // all lie on one line through the centre. Every symmetry maps each shell onto itself, so the
  // axes and planes through the points of such a shell are candidates enough; the second covers
  // a twofold axis that turns every point of the first onto its opposite.
  std::vector<std::vector<int>> FewestShells() const {
    std::vector<std::vector<int>> shells;
    for (const std::vector<int>& shell : shells_)
      if (Length(q_[shell.front()]) > tolerance_) shells.push_back(shell);
    std::stable_sort(shells.begin(), shells.end(),
                     [](const auto& a, const auto& b) { return a.size() < b.size(); });
    int spread = 0;
    for (std::size_t k = 0; k < shells.size(); ++k) {
      const Point3 first = q_[shells[k].front()];
      spread +=
          std::any_of(shells[k].begin(), shells[k].end(), [&](int i) { return !Parallel(first, q_[i]); });
      if (spread == 2) {
        shells.resize(k + 1);
        break;
      }
    }
    return shells;
  }

  real Tolerance() const { return tolerance_; }
  real Radius() const { return radius_; }
  bool Parallel(const Point3& a, const Point3& b) const { return Length(Cross(a, b)) <= angle_; }
  bool Perpendicular(const Point3& a, const Point3& b) const { return std::fabs(Dot(a, b)) <= angle_; }

  // Whether every point (of `only`, when given) goes to within the tolerance of a point of its
  // shell.
  bool Maps(const Matrix3& op, const std::vector<int>* only = nullptr) const {
    const real limit = tolerance_ * tolerance_;
    for (std::size_t k = 0; k < (only ? only->size() : q_.size()); ++k) {
      const std::size_t i = only ? (*only)[k] : k;
      const Point3 image = Apply(op, q_[i]);
      const std::vector<int>& shell = shells_[shellOf_[i]];
      if (std::none_of(shell.begin(), shell.end(), [&](int j) {
            const Point3 d = image - q_[j];
            return Dot(d, d) <= limit;
          }))
        return false;
    }
    return true;
  }

  // The highest n with the turn 2 pi / n about `axis` a symmetry (1 for none). The points off
  // the axis fall into rings (one height along it, one distance from it) that such a turn
  // permutes, so n divides the size of every ring.
  int Order(const Point3& axis) const {
    if (RingDivisor(axis, &fewest_) == 1) return 1;  // the smallest shell alone rules it out
    const int common = RingDivisor(axis, nullptr);
    for (int n = common; n >= 2; --n)
      if (common % n == 0 && Maps(Rotation(axis, n))) return n;
    return 1;
  }

  // Whether a candidate axis passes the smallest shell's rings, and a candidate plane maps the
  // smallest shell onto itself: the quick tests before the whole cloud's.
  bool MayBeAxis(const Point3& axis) const { return RingDivisor(axis, &fewest_) != 1; }
  bool MayBeMirror(const Point3& normal) const { return Maps(Reflection(normal), &fewest_); }

  bool HasImproper(const Point3& axis, int n) const {
    return Maps(Product(Reflection(axis), Rotation(axis, n)));
  }
  bool HasMirror(const Point3& normal) const { return MayBeMirror(normal) && Maps(Reflection(normal)); }
  bool HasCentre() const { return Maps(Inversion); }

  // Every point within the tolerance of the line through the centre along `axis`.
  bool OnLine(const Point3& axis) const {
    return std::all_of(q_.begin(), q_.end(),
                       [&](const Point3& p) { return Length(p - Dot(p, axis) * axis) <= tolerance_; });
  }

 private:
  // The greatest common divisor of the sizes of the rings (one height along the axis, one
  // distance from it) of the points (of `only`, when given) off the axis: a turn about the axis
  // permutes each ring, so its order divides this. 0 when every point lies on the axis.
  int RingDivisor(const Point3& axis, const std::vector<int>* only) const {
    std::vector<std::pair<real, real>> placed;  // (height, distance from the axis)
    for (std::size_t k = 0; k < (only ? only->size() : q_.size()); ++k) {
      const Point3& p = q_[only ? (*only)[k] : k];
      const real h = Dot(p, axis);
      const real rho = Length(p - h * axis);
      if (rho > tolerance_) placed.emplace_back(h, rho);
    }
    std::sort(placed.begin(), placed.end());
    int common = 0;
    for (std::size_t first = 0; first < placed.size();) {
      std::size_t last = first + 1;
      while (last < placed.size() && placed[last].first - placed[last - 1].first <= tolerance_) ++last;
      std::vector<real> distances;
      for (std::size_t k = first; k < last; ++k) distances.push_back(placed[k].second);
      for (const int size : GroupSizes(distances, tolerance_)) common = std::gcd(common, size);
      first = last;
    }
    return common;
  }

  Points q_;
  std::vector<int> fewest_;  // the shell of fewest points off the centre
  std::vector<std::vector<int>> shells_;
  std::vector<int> shellOf_;
  real tolerance_;
  real radius_ = 0.0L;
  real angle_ = 0.0L;
};

// Unit directions, one per line: a candidate parallel to one already taken, or too short to
// have a direction, is left out.
class Directions {
 public:
  // Only directions that pass `worth` are taken.
  Directions(const SymmetrySearch& search, real shortest, std::function<bool(const Point3&)> worth)
      : search_(search), shortest_(shortest), worth_(std::move(worth)) {}
  void Add(const Point3& v) {
    if (!(Length(v) > shortest_)) return;
    const Point3 u = Unit(v);
    if (worth_(u) &&
        std::none_of(taken_.begin(), taken_.end(), [&](const Point3& t) { return search_.Parallel(t, u); }))
      taken_.push_back(u);
  }
  const Points& Taken() const { return taken_; }

 private:
  const SymmetrySearch& search_;
  real shortest_;
  std::function<bool(const Point3&)> worth_;
  Points taken_;
};

// The directions to the points, to the middles of pairs and the normals of the planes through
// the first point and two others, in the shells of fewest points.
Points GeneralAxes(const SymmetrySearch& s) {
  Directions axes(s, s.Tolerance(), [&](const Point3& u) { return s.MayBeAxis(u); });
  const Points& q = s.Relative();
  for (const std::vector<int>& shell : s.FewestShells()) {
    for (std::size_t a = 0; a < shell.size(); ++a) {
      axes.Add(q[shell[a]]);
      for (std::size_t b = a + 1; b < shell.size(); ++b) {
        axes.Add(q[shell[a]] + q[shell[b]]);
        if (a == 0)
          for (std::size_t c = b + 1; c < shell.size(); ++c)
            axes.Add(Cross(q[shell[b]] - q[shell[0]], q[shell[c]] - q[shell[0]]));
      }
    }
  }
  return axes.Taken();
}

// The planes halfway between two points of a shell, and those through an axis and a point, in
// the shells of fewest points.
Points GeneralPlanes(const SymmetrySearch& s, const std::vector<SymmetryAxis>& axes) {
  Directions planes(s, s.Tolerance(), [&](const Point3& u) { return s.MayBeMirror(u); });
  const Points& q = s.Relative();
  for (const std::vector<int>& shell : s.FewestShells())
    for (std::size_t a = 0; a < shell.size(); ++a) {
      for (std::size_t b = a + 1; b < shell.size(); ++b) planes.Add(q[shell[a]] - q[shell[b]]);
      for (const SymmetryAxis& axis : axes) planes.Add(Cross(axis.direction, q[shell[a]]));
    }
  return planes.Taken();
}

// Keeps `unique` first, then the candidates perpendicular to it.
Points AroundUnique(const SymmetrySearch& s, const Point3& unique, const Points& candidates) {
  Points kept{unique};
  for (const Point3& c : candidates)
    if (s.Perpendicular(c, unique)) kept.push_back(c);
  return kept;
}

struct Inertia {
  Top top;
  EigenSystem principal;
  Point3 unique;  // the axis of the odd moment of a symmetric top
};

Point3 Vector(const std::array<real, 3>& v) { return {v[0], v[1], v[2]}; }

// Two moments count as equal when they differ by less than moving every point by the tolerance
// could make them differ: 2 t sum |q| + n t^2.
Inertia InertiaOf(const SymmetrySearch& s) {
  Matrix3 inertia{};
  real spread = 0.0L;
  for (const Point3& p : s.Relative()) {
    const real v[3] = {p.X, p.Y, p.Z};
    const real square = Dot(p, p);
    for (int i = 0; i < 3; ++i)
      for (int j = i; j < 3; ++j) inertia[i][j] += (i == j ? square : 0.0L) - v[i] * v[j];
    spread += Length(p);
  }
  const real t = s.Tolerance();
  const real equal = 2.0L * t * spread + static_cast<real>(s.Relative().size()) * t * t;
  const EigenSystem e = SymmetricEigen(inertia);
  const bool low = e.values[1] - e.values[0] <= equal, high = e.values[2] - e.values[1] <= equal;
  if (low && high) return {Top::Spherical, e, {}};
  if (low) return {Top::Symmetric, e, Vector(e.vectors[2])};
  if (high) return {Top::Symmetric, e, Vector(e.vectors[0])};
  return {Top::Asymmetric, e, {}};
}

std::vector<SymmetryAxis> AxesAmong(const SymmetrySearch& s, const Points& candidates) {
  std::vector<SymmetryAxis> axes;
  for (const Point3& c : candidates)
    if (const int n = s.Order(c); n >= 2) axes.push_back({c, n});
  std::stable_sort(axes.begin(), axes.end(), [](const auto& a, const auto& b) { return a.order > b.order; });
  return axes;
}

Points PlanesAmong(const SymmetrySearch& s, const Points& candidates) {
  Points planes;
  for (const Point3& c : candidates)
    if (s.HasMirror(c)) planes.push_back(c);
  return planes;
}

int CountOrder(const std::vector<SymmetryAxis>& axes, int order) {
  return static_cast<int>(
      std::count_if(axes.begin(), axes.end(), [&](const auto& a) { return a.order == order; }));
}

std::string Symbol(const SymmetrySearch& s, const PointGroup& g) {
  const auto planeWith = [&](auto relation) {
    return std::any_of(g.planes.begin(), g.planes.end(), relation);
  };
  if (CountOrder(g.axes, 5) >= 2) return g.centre ? "Ih" : "I";
  if (CountOrder(g.axes, 4) >= 2) return g.centre ? "Oh" : "O";
  if (CountOrder(g.axes, 3) >= 2) return g.centre ? "Th" : !g.planes.empty() ? "Td" : "T";
  if (g.axes.empty()) return !g.planes.empty() ? "Cs" : g.centre ? "Ci" : "C1";
  const Point3 main = g.axes.front().direction;
  const std::string n = std::to_string(g.axes.front().order);
  const bool horizontal = planeWith([&](const Point3& p) { return s.Parallel(p, main); });
  const bool vertical = planeWith([&](const Point3& p) { return s.Perpendicular(p, main); });
  const bool dihedral = std::any_of(g.axes.begin() + 1, g.axes.end(),
                                    [&](const auto& a) { return s.Perpendicular(a.direction, main); });
  if (dihedral) return "D" + n + (horizontal ? "h" : vertical ? "d" : "");
  if (horizontal) return "C" + n + "h";
  if (vertical) return "C" + n + "v";
  const int order = g.axes.front().order;
  if (s.HasImproper(main, 2 * order)) return "S" + std::to_string(2 * order);
  return "C" + n;
}

}  // namespace

PointGroup FindPointGroup(const Points& points, real tolerance) {
  PointGroup group;
  if (points.empty()) return group;
  const SymmetrySearch search(points, tolerance);
  group.centre = search.HasCentre();
  if (!(search.Radius() > tolerance)) {
    group.symbol = "Kh";
    return group;
  }
  const Inertia inertia = InertiaOf(search);
  if (search.OnLine(Vector(inertia.principal.vectors[0]))) {
    group.symbol = group.centre ? "D*h" : "C*v";
    return group;
  }
  const Points principal{Vector(inertia.principal.vectors[0]), Vector(inertia.principal.vectors[1]),
                         Vector(inertia.principal.vectors[2])};
  switch (inertia.top) {
    case Top::Asymmetric:
      group.axes = AxesAmong(search, principal);
      group.planes = PlanesAmong(search, principal);
      break;
    case Top::Symmetric:
      group.axes = AxesAmong(search, AroundUnique(search, inertia.unique, GeneralAxes(search)));
      group.planes =
          PlanesAmong(search, AroundUnique(search, inertia.unique, GeneralPlanes(search, group.axes)));
      break;
    case Top::Spherical:
      group.axes = AxesAmong(search, GeneralAxes(search));
      group.planes = PlanesAmong(search, GeneralPlanes(search, group.axes));
      break;
  }
  group.symbol = Symbol(search, group);
  return group;
}

}  // namespace velmora
