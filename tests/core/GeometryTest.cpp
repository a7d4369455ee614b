#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <map>
#include <string>
#include <utility>

#include "geometry/GridPoint.h"
#include "geometry/Tetrahedron.h"
#include "model/FloatingPointFaults.h"
#include "model/ProgramError.h"
#include "text/NumberText.h"

namespace velmora {
namespace {

// A grid as the editor fills it: header row, numbered rows, values only in filled rows.
class FakeGrid {
 public:
  FakeGrid() {
    cells_[{1, 0}] = "X";
    cells_[{2, 0}] = "Y";
    cells_[{3, 0}] = "Z";
  }
  void Put(int row, const Point3& p, char separator = '.') {
    cells_[{1, row}] = FormatReal(p.X, separator);
    cells_[{2, row}] = FormatReal(p.Y, separator);
    cells_[{3, row}] = FormatReal(p.Z, separator);
  }
  GridText Text() const {
    return GridText{101, [this](int column, int row) {
                      const auto it = cells_.find({column, row});
                      return it == cells_.end() ? std::string() : it->second;
                    }};
  }

 private:
  std::map<std::pair<int, int>, std::string> cells_;
};

template <class Error, class F>
std::string MessageOf(F&& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(ReadGridPointTest, ReadsTheRowOfTheNumberInTheGridsSeparator) {
  FakeGrid grid;
  grid.Put(7, {1.5L, -2.0L, 1e-5L}, ',');
  const Point3 p = ReadGridPoint(" 7 ", grid.Text(), ',');
  EXPECT_EQ(p.X, 1.5L);
  EXPECT_EQ(p.Y, -2.0L);
  EXPECT_EQ(p.Z, 1e-5L);
}

struct BadNumberCase {
  const char* numberText;
  const char* message;
};

class ReadGridPointErrorTest : public ::testing::TestWithParam<BadNumberCase> {};

TEST_P(ReadGridPointErrorTest, ReportsTheFirstFailingConversion) {
  FakeGrid grid;
  grid.Put(1, {0.0L, 0.0L, 0.0L});
  EXPECT_EQ(MessageOf<ProgramError>([&] { ReadGridPoint(GetParam().numberText, grid.Text(), '.'); }),
            GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadGridPointErrorTest,
    ::testing::Values(BadNumberCase{"", "'' is not a valid integer value"},
                      BadNumberCase{"1.0", "'1.0' is not a valid integer value"},
                      BadNumberCase{"abc", "'abc' is not a valid integer value"},
                      BadNumberCase{"-1", "List index out of bounds (-1)"},
                      BadNumberCase{"-2147483648", "List index out of bounds (-2147483648)"},
                      // Row 0 is the header: its first coordinate cell names the column.
                      BadNumberCase{"0", "'X' is not a valid floating point value"},
                      // An absent particle's row and rows past the grid read as empty cells.
                      BadNumberCase{"2", "'' is not a valid floating point value"},
                      BadNumberCase{"101", "'' is not a valid floating point value"},
                      BadNumberCase{"2147483647", "'' is not a valid floating point value"}));

TEST(ReadGridPointTest, RejectsAPointWhereTheLocaleUsesAComma) {
  FakeGrid grid;
  grid.Put(3, {0.5L, 1.0L, 2.0L}, '.');
  EXPECT_EQ(MessageOf<ConversionError>([&] { ReadGridPoint("3", grid.Text(), ','); }),
            "'0.5' is not a valid floating point value");
}

TEST(DistanceTest, IsSymmetricAndZeroForTheSamePoint) {
  const Point3 p{0.0L, 0.0L, 0.0L}, q{3.0L, 4.0L, 0.0L};
  EXPECT_EQ(Distance(p, q), 5.0L);
  EXPECT_EQ(Distance(q, p), 5.0L);
  EXPECT_EQ(Distance(q, q), 0.0L);
}

TEST(DistanceTest, OverflowIsAFault) {
  const Point3 p{0.0L, 0.0L, 0.0L}, q{1e4000L, 0.0L, 0.0L};
  EXPECT_EQ(MessageOf<FloatingPointFault>([&] { Distance(p, q); }), "Floating point overflow");
}

// The equilateral triangle of side 1 in the plane z = 0, read as the grid shows it (15 digits).
struct TriangleFromGrid {
  Point3 p1, p2, p3;
  TriangleFromGrid() {
    FakeGrid grid;
    grid.Put(1, {0.0L, 0.0L, 0.0L});
    grid.Put(2, {1.0L, 0.0L, 0.0L});
    grid.Put(3, {0.5L, std::sqrt(3.0L) / 2.0L, 0.0L});
    p1 = ReadGridPoint("1", grid.Text(), '.');
    p2 = ReadGridPoint("2", grid.Text(), '.');
    p3 = ReadGridPoint("3", grid.Text(), '.');
  }
};

TEST(FourthVertexTest, GivesBothApexesOfTheRegularTetrahedron) {
  const TriangleFromGrid t;
  const real height = std::sqrt(2.0L / 3.0L);
  for (const bool larger : {true, false}) {
    SCOPED_TRACE(larger);
    const Point3 apex = FourthVertex(t.p1, t.p2, t.p3, larger);
    EXPECT_NEAR(apex.X, 0.5L, 1e-14L);
    EXPECT_NEAR(apex.Y, std::sqrt(3.0L) / 6.0L, 1e-14L);
    EXPECT_NEAR(apex.Z, larger ? height : -height, 1e-14L);
    for (const Point3& corner : {t.p1, t.p2, t.p3}) EXPECT_NEAR(Distance(apex, corner), 1.0L, 1e-14L);
  }
}

TEST(FourthVertexTest, StandsOnATiltedTriangle) {
  // An equilateral triangle of side 2 tilted out of every coordinate plane: the apex is at
  // distance 2 from each corner, and "larger root" means the larger Z.
  const Point3 a{1.0L, 2.0L, 3.0L};
  const Point3 u{2.0L / 3.0L, 2.0L / 3.0L, 1.0L / 3.0L}, v{-2.0L / 3.0L, 1.0L / 3.0L, 2.0L / 3.0L};
  const real c = 1.0L, s = std::sqrt(3.0L);
  const Point3 b{a.X + 2 * u.X, a.Y + 2 * u.Y, a.Z + 2 * u.Z};
  const Point3 d{a.X + c * u.X + s * v.X, a.Y + c * u.Y + s * v.Y, a.Z + c * u.Z + s * v.Z};
  const Point3 up = FourthVertex(a, b, d, true), down = FourthVertex(a, b, d, false);
  for (const Point3& apex : {up, down})
    for (const Point3& corner : {a, b, d}) EXPECT_NEAR(Distance(apex, corner), 2.0L, 1e-15L);
  EXPECT_GT(up.Z, down.Z);
}

// Triangles that are not equilateral, in z = 0: the point lies on the normal through the centroid
// M, with z^2 = |L^2 - |M - P1|^2| and L = |P1P2| (worked by hand: for (0,0,0), (4,0,0), (0,1,0)
// z^2 = 16 - 17/9; for (0,0,0), (1,0,0), (0,4,0) the discriminant is negative and z^2 = 17/9 - 1).
struct OtherTriangleCase {
  Point3 p1, p2, p3;
  bool larger;
  real x, y, z;
};

TEST(FourthVertexTest, AnyOtherTriangleGivesAPointOnTheNormalThroughItsCentroid) {
  const OtherTriangleCase cases[] = {
      {{0.0L, 0.0L, 0.0L},
       {4.0L, 0.0L, 0.0L},
       {0.0L, 1.0L, 0.0L},
       true,
       4.0L / 3.0L,
       1.0L / 3.0L,
       std::sqrt(127.0L) / 3.0L},
      {{0.0L, 0.0L, 0.0L},
       {4.0L, 0.0L, 0.0L},
       {0.0L, 1.0L, 0.0L},
       false,
       4.0L / 3.0L,
       1.0L / 3.0L,
       -std::sqrt(127.0L) / 3.0L},
      {{0.0L, 0.0L, 0.0L},
       {1.0L, 0.0L, 0.0L},
       {0.0L, 4.0L, 0.0L},
       true,
       1.0L / 3.0L,
       4.0L / 3.0L,
       std::sqrt(8.0L) / 3.0L},
  };
  for (const OtherTriangleCase& c : cases) {
    const Point3 p = FourthVertex(c.p1, c.p2, c.p3, c.larger);
    EXPECT_NEAR(p.X, c.x, 1e-15L);
    EXPECT_NEAR(p.Y, c.y, 1e-15L);
    EXPECT_NEAR(p.Z, c.z, 1e-15L);
  }
}

struct FlatCase {
  const char* what;
  Point3 p1, p2, p3;
  const char* message;
};

class FourthVertexFaultTest : public ::testing::TestWithParam<FlatCase> {};

TEST_P(FourthVertexFaultTest, PlanesParallelToTheZAxisFault) {
  const FlatCase& c = GetParam();
  for (const bool larger : {true, false})
    EXPECT_EQ(MessageOf<FloatingPointFault>([&] { FourthVertex(c.p1, c.p2, c.p3, larger); }), c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FourthVertexFaultTest,
    ::testing::Values(FlatCase{"plane x = 0", {0, 0, 0}, {0, 1, 0}, {0, 0, 1}, DivisionByZeroText},
                      FlatCase{"collinear", {0, 0, 0}, {1, 0, 0}, {2, 0, 0}, InvalidOperationText},
                      FlatCase{"equal", {1, 1, 1}, {1, 1, 1}, {1, 1, 1}, InvalidOperationText},
                      FlatCase{"plane y = 1", {0, 1, 0}, {1, 1, 0}, {0, 1, 1}, InvalidOperationText}),
    [](const auto& info) {
      std::string name;
      for (const char ch : std::string(info.param.what))
        if (std::isalnum(static_cast<unsigned char>(ch))) name += ch;
      return name;
    });

TEST(FourthVertexTest, AFaultLeftOverFromEarlierArithmeticIsNotReported) {
  volatile real zero = 0.0L;
  volatile real stale = 1.0L / zero;  // division by zero flagged by unrelated arithmetic
  (void)stale;
  const TriangleFromGrid t;
  EXPECT_NO_THROW(FourthVertex(t.p1, t.p2, t.p3, true));
  EXPECT_NO_THROW(Distance(t.p1, t.p2));
  ClearFaultFlags();
}

}  // namespace
}  // namespace velmora
