#include "view/SceneProjection.h"

#include "figures/SpiralFaces.h"

namespace velmora {

void TurnFigure(ViewState& view, Model& model, int count) {
  for (int i = 1; i <= count; ++i) {
    const Point3 turned = Rotate(view.RotM, {model.ShownX[i], model.ShownY[i], model.ShownZ[i]});
    model.ShownX[i] = turned.X;
    model.ShownY[i] = turned.Y;
    model.ShownZ[i] = turned.Z;
    const ScreenPoint place = PlaceOnScreen(view, turned);
    view.ScreenX[i] = place.X;
    view.ScreenY[i] = place.Y;
  }
}

Redraw TurnFigureAndProject(ViewState& view, Model& model) {
  MatrixFromTurn(view);
  if (view.FigureKind != TetrahedronSpiral) return Redraw::Black;
  TurnFigure(view, model, SpiralPointCount);
  return Redraw::Figure;
}

Redraw ProjectParticles(ViewState& view, const Model& model) {
  MatrixFromView(view);
  for (int i = 1; i <= model.N; ++i) {
    if (!model.Present[i]) continue;
    const ScreenPoint place = ProjectPoint(view, model.ShownX[i], model.ShownY[i], model.ShownZ[i]);
    view.ScreenX[i] = place.X;
    view.ScreenY[i] = place.Y;
  }
  return Redraw::Particles;
}

Redraw RedrawScene(ViewState& view, Model& model) {
  return model.SpiralShown ? TurnFigureAndProject(view, model) : ProjectParticles(view, model);
}

}  // namespace velmora
