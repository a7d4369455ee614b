#include "documents/XyzTrajectory.h"

#include <array>
#include <charconv>

namespace velmora {

namespace {

constexpr int RoundTripDigits = 17;

// The nearest double, so that a reader's double is that one exactly; to_chars writes '.'
// whatever the process locale. An extended value beyond the double range is written inf.
void AppendReal(std::string& text, real value) {
  std::array<char, 32> digits;
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), static_cast<double>(value),
                                 std::chars_format::general, RoundTripDigits)
                       .ptr;
  text.append(digits.data(), end);
}

void AppendSlot(std::string& text, const Model& m, int i) {
  const int group = GroupOf(m.N, i);
  text += XyzSpecies(group);
  for (real value : {m.X[i], m.Y[i], m.Z[i], m.V[i], m.U[i], m.W[i]}) {
    text += ' ';
    AppendReal(text, value);
  }
  text += ' ' + std::to_string(i) + ' ' + std::to_string(group) + '\n';
}

}  // namespace

const char* XyzSpecies(int group) {
  static constexpr const char* species[GroupCount + 1] = {"", "Cl", "S", "O"};
  return species[group];
}

void AppendXyzFrame(std::string& text, const Model& m, int step) {
  int present = 0;
  for (int i = 1; i <= m.N; ++i) present += m.Present[i] ? 1 : 0;
  text += std::to_string(present) + '\n';
  text +=
      "Properties=species:S:1:pos:R:3:velo:R:3:slot:I:1:group:I:1 Step=" + std::to_string(step) + " Time=";
  AppendReal(text, static_cast<real>(step) * m.dt);
  text += " pbc=\"F F F\"\n";
  for (int i = 1; i <= m.N; ++i)
    if (m.Present[i]) AppendSlot(text, m, i);
}

XyzTrajectory::XyzTrajectory(const std::string& name, OutputGroup& outputs) : file_(outputs.Add(name)) {}

void XyzTrajectory::WriteFrame(const Model& model, int step) {
  frame_.clear();
  AppendXyzFrame(frame_, model, step);
  file_.Append(frame_);
}

}  // namespace velmora
