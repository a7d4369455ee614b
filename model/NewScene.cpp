#include "model/NewScene.h"

namespace velmora {

Model NewScene() {
  Model model;
  model.N = SlotCount;
  model.dt = NewSceneDt;
  for (int p = 0; p < ParameterCount; ++p) Parameter(model, p) = NewSceneParameters[p % ParametersPerGroup];
  return model;
}

}  // namespace velmora
