#pragma once
// Whole-model comparison by bits, for the checks where the program promises bits: the fast and
// the literal step, documents read back. Shared by the tests and the fuzz targets.

#include <string>

#include "model/Model.h"

namespace velmora::testing {

// The first place where the two models differ ("NewX[17]", "dt", "Present[3]", "StepCount"),
// or an empty text when every stored and working value has the same bits.
inline std::string FirstDifference(const Model& a, const Model& b) {
  if (!SameBits(a.dt, b.dt)) return "dt";
  for (int p = 0; p < ParameterCount; ++p)
    if (!SameBits(Parameter(a, p), Parameter(b, p))) return ParameterNames[p];
  const struct {
    const char* name;
    SlotArray<real> Model::*array;
  } arrays[] = {{"X", &Model::X},           {"Y", &Model::Y},           {"Z", &Model::Z},
                {"V", &Model::V},           {"U", &Model::U},           {"W", &Model::W},
                {"NewX", &Model::NewX},     {"NewY", &Model::NewY},     {"NewZ", &Model::NewZ},
                {"NewV", &Model::NewV},     {"NewU", &Model::NewU},     {"NewW", &Model::NewW},
                {"ShownX", &Model::ShownX}, {"ShownY", &Model::ShownY}, {"ShownZ", &Model::ShownZ}};
  for (const auto& array : arrays)
    for (int i = 1; i <= SlotCount; ++i)
      if (!SameBits((a.*array.array)[i], (b.*array.array)[i]))
        return std::string(array.name) + "[" + std::to_string(i) + "]";
  for (int i = 1; i <= SlotCount; ++i)
    if (a.Present[i] != b.Present[i]) return "Present[" + std::to_string(i) + "]";
  if (a.StepCount != b.StepCount) return "StepCount";
  return "";
}

}  // namespace velmora::testing
