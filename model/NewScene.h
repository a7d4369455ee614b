#pragma once
// The scene of File > New when the editor is confirmed as it first opens: every slot empty at
// the origin and at rest, and the time step and parameters of the editor's first fields.

#include "model/Model.h"

namespace velmora {

// The editor's first texts, as values: dt "0,01"; A, B, C, D, F, G "1", "1", "2", "3", "4", "5"
// in every group.
inline constexpr real NewSceneDt = 0.01L;
inline constexpr real NewSceneParameters[ParametersPerGroup] = {1.0L, 1.0L, 2.0L, 3.0L, 4.0L, 5.0L};

// A model of N = 100 slots holding that scene, with zero padding in its record buffer.
Model NewScene();

}  // namespace velmora
