// The listing as text: cells in the general number format, absent slots without values.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/core/SceneFactory.h"
#include "text/Listing.h"

namespace velmora {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

Model ListedScene() {
  Model m = testing::EmptyScene();
  testing::Place(m, 1, 0.5L, -2.5L, 0.00001L);
  m.V[1] = 123456789.123456789L;
  m.U[1] = -0.0L;
  m.W[1] = 1e15L;
  // An absent slot keeps values; the listing shows none of them.
  m.X[2] = 7.0L;
  m.V[2] = 8.0L;
  testing::Place(m, 100, 0.001L, 0.0001L, -1.0L / 3.0L);
  return m;
}

TEST(Listing, OneLinePerSlotWithValuesOfPresentSlotsOnly) {
  const Model m = ListedScene();
  const std::vector<std::string> positions = Lines(ListingText(m, false, '.'));
  ASSERT_EQ(positions.size(), 100u);
  EXPECT_EQ(positions[0], "1\t0.5\t-2.5\t1E-5");
  EXPECT_EQ(positions[1], "2");
  EXPECT_EQ(positions[2], "3");
  EXPECT_EQ(positions[99], "100\t0.001\t0.0001\t-0.333333333333333");

  const std::vector<std::string> velocities = Lines(ListingText(m, true, '.'));
  EXPECT_EQ(velocities[0], "1\t123456789.123457\t0\t1E15");
  EXPECT_EQ(velocities[1], "2");
  EXPECT_EQ(velocities[99], "100\t0\t0\t0");

  EXPECT_EQ(ListingText(m, false, ',').substr(0, 18), "1\t0,5\t-2,5\t1E-5\n2\n");
  EXPECT_EQ(ListingCells(m, 2, true, '.'), (std::array<std::string, 3>{"", "", ""}));
}

}  // namespace
}  // namespace velmora
