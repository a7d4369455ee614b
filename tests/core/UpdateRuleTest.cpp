// One step of two particles worked by hand from the rules, not from the program's own functions:
// the pair law's G shell term or contact part for the acceleration, then the semi-implicit update
// v := f v + a dt, q := q + v dt, under every switch. Both schedules share the update, so each is
// checked against this rather than against the other.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "sim/Stepper.h"
#include "tests/core/SceneFactory.h"

namespace velmora {
namespace {

using testing::Place;
using testing::Vanishing;

constexpr real A = 2.0L, G = 0.9L;  // group 1's A and G; B, C, D, F vanish

// The G shell term S = dU/dr of U = x^E at distance r: x = k r, k = 1.0256 / G,
// E = (2.5 - x^20) / (0.1 x), S = x^E [ (2.5 - x^20)(1 - ln x) / (0.1 k r^2) - 200 k x^18 ln x ].
real ShellTermByHand(real r) {
  const real k = 1.0256L / G;
  const real x = k * r;
  const real plateau = 2.5L - std::pow(x, 20.0L);
  const real e = plateau / (0.1L * x);
  return std::pow(x, e) * (plateau * (1.0L - std::log(x)) / (0.1L * k * r * r) -
                           200.0L * k * std::pow(x, 18.0L) * std::log(x));
}

// The contact part K = A G a (r - G)^-2 exp(-a G / (r - G)) with a = 0.5 / 2.72, for r > G.
real ContactByHand(real r) {
  const real a = 0.5L / 2.72L;
  return A * G * a / ((r - G) * (r - G)) * std::exp(-a * G / (r - G));
}

struct UpdateCase {
  const char* name;
  bool blockade, cool, contact, taoscope;
  int i, j;  // the two slots, both of group 1 and both moved by either schedule
};

const UpdateCase Cases[] = {
    {"plain", false, false, false, false, 10, 13},
    {"cool", false, true, false, false, 10, 13},
    {"contact", false, false, true, false, 10, 13},
    {"taoscope, odd pair", false, false, false, true, 10, 13},
    {"taoscope, even pair", false, false, false, true, 10, 12},
    {"blockade", true, false, false, false, 10, 13},
    {"everything", true, true, true, true, 10, 12},
};

class UpdateRule : public ::testing::TestWithParam<UpdateCase> {};

TEST_P(UpdateRule, StepMatchesTheHandWorkedUpdate) {
  const UpdateCase& c = GetParam();
  Model start = testing::EmptyScene();
  start.dt = 0.05L;
  testing::SetGroup(start, 1, A, Vanishing, Vanishing, Vanishing, Vanishing, G);
  const real at[2][3] = {{0.3L, 0.1L, -0.2L}, {-0.5L, 0.45L, 0.15L}};
  const real velocity[2][3] = {{0.5L, -0.25L, 0.125L}, {-1.5L, 0.75L, 2.0L}};
  const int slots[2] = {c.i, c.j};
  SlotArray<real> Model::*positions[3] = {&Model::X, &Model::Y, &Model::Z};
  SlotArray<real> Model::*velocities[3] = {&Model::V, &Model::U, &Model::W};
  SlotArray<real> Model::*working[3] = {&Model::NewV, &Model::NewU, &Model::NewW};
  for (int p = 0; p < 2; ++p) {
    Place(start, slots[p], at[p][0], at[p][1], at[p][2]);
    for (int axis = 0; axis < 3; ++axis)
      (start.*velocities[axis])[slots[p]] = (start.*working[axis])[slots[p]] = velocity[p][axis];
  }
  StepSettings settings;
  settings.Blockade = c.blockade;
  settings.Cool = c.cool;
  settings.Law = {c.contact, c.taoscope};

  const real r = std::sqrt((at[0][0] - at[1][0]) * (at[0][0] - at[1][0]) +
                           (at[0][1] - at[1][1]) * (at[0][1] - at[1][1]) +
                           (at[0][2] - at[1][2]) * (at[0][2] - at[1][2]));
  // Phi = -S_G, or +K with the contact part; the sign -1 but +1 for an even pair under Taoscope.
  const real phi = c.contact ? ContactByHand(r) : -ShellTermByHand(r);
  const real sign = c.taoscope && (c.i - c.j) % 2 == 0 ? 1.0L : -1.0L;
  const real damping = c.cool ? 0.95L : 1.0L;
  for (Evaluation evaluation : {Evaluation::Literal, Evaluation::Fast}) {
    Model m = start;
    int counter = 0;
    Stepper(evaluation, 1).Step(m, settings, counter);
    for (int p = 0; p < 2; ++p) {
      for (int axis = 0; axis < 3; ++axis) {
        const real a = sign * (at[p][axis] - at[1 - p][axis]) / r * A * phi;
        const real v = damping * velocity[p][axis] + a * start.dt;
        const real q = at[p][axis] + v * start.dt;
        const std::string where = std::string(c.name) + ", slot " + std::to_string(slots[p]) + ", axis " +
                                  std::to_string(axis) +
                                  (evaluation == Evaluation::Fast ? ", fast" : ", literal");
        EXPECT_GT(std::fabs(a), 0.05L) << where;  // the acceleration weighs in the update
        EXPECT_NEAR(static_cast<double>((m.*velocities[axis])[slots[p]]), static_cast<double>(v), 1e-13)
            << where;
        EXPECT_NEAR(static_cast<double>((m.*positions[axis])[slots[p]]), static_cast<double>(q), 1e-13)
            << where;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EverySwitch, UpdateRule, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<UpdateCase>& info) {
                           std::string name;
                           for (const char* s = info.param.name; *s; ++s)
                             if (std::isalnum(static_cast<unsigned char>(*s))) name += *s;
                           return name;
                         });

}  // namespace
}  // namespace velmora
