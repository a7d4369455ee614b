#pragma once
// A point of model space, as the figures and the view's rotation handle it.

#include "model/Real.h"

namespace velmora {

struct Point3 {
  real X = 0.0L;
  real Y = 0.0L;
  real Z = 0.0L;
};

}  // namespace velmora
