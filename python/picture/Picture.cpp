// velmora._picture: the scene's picture as PNG bytes, painted by the painter of the window and
// velmora-render on the offscreen platform. A module of its own, so that Qt's libraries load only
// with the first picture; velmora/_pictures.py gives it to Scene.picture.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

#include "documents/DocumentFile.h"
#include "picture/OffscreenGui.h"
#include "picture/PictureFile.h"
#include "picture/PictureView.h"
#include "view/SceneProjection.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace {

using Reals = py::array_t<long double, py::array::c_style | py::array::forcecast>;

constexpr int LargestSide = 16384;

int Side(const char* name, int pixels) {
  if (pixels < 1 || pixels > LargestSide)
    throw py::value_error(std::string(name) + ": expected 1 to " + std::to_string(LargestSide) +
                          " pixels, got " + std::to_string(pixels));
  return pixels;
}

py::bytes Png(const py::bytes& document, int width, int height, const Reals& turn,
              const std::optional<Reals>& zoom, bool taoscope, bool numbers, int style, int colour,
              const std::optional<Reals>& radius, bool contact) {
  const std::string bytes = document;
  if (bytes.size() != velmora::SnapshotSize)
    throw py::value_error("document: expected the bytes of Scene.to_bytes()");
  if (turn.size() != 3) throw py::value_error("turn: expected three angles in degrees");
  if (zoom && zoom->size() != 1) throw py::value_error("zoom: expected one number");
  if (radius && !(radius->size() == 1 && radius->at(0) > 0.0L && radius->at(0) < HUGE_VALL))
    throw py::value_error("radius: expected one number above 0");
  const QSize area(Side("width", width), Side("height", height));
  velmora::Model model;
  model.N = velmora::SlotCount;
  std::memcpy(model.Snapshot.data(), bytes.data(), velmora::SnapshotSize);
  velmora::ApplySnapshot(model);
  velmora::EnsureOffscreenGui();
  velmora::ViewState view =
      velmora::PictureView(area, {turn.at(0), turn.at(1), turn.at(2)},
                           zoom ? std::optional<velmora::real>(zoom->at(0)) : std::nullopt);
  velmora::ProjectParticles(view, model);
  velmora::SceneLook look{velmora::Redraw::Particles, taoscope, numbers};
  look.Style = static_cast<velmora::ParticleStyle>(style);
  look.Colour = static_cast<velmora::ColourBy>(colour);
  if (radius) look.SphereRadius = radius->at(0);
  look.Functions3X1 = contact;
  const velmora::PictureSource source{model, view, look, area};
  const QByteArray png = velmora::PictureBytes(velmora::PictureFormat::Png, source);
  return py::bytes(png.constData(), static_cast<std::size_t>(png.size()));
}

}  // namespace

PYBIND11_MODULE(_picture, module) {
  module.doc() = "Pictures of scenes drawn as the window and velmora-render draw them (see Scene.picture).";
  module.def(
      "png", &Png, "document"_a, "width"_a, "height"_a, "turn"_a, "zoom"_a, "taoscope"_a, "numbers"_a,
      "style"_a, "colour"_a, "radius"_a, "contact"_a,
      "The PNG of the scene of a document's bytes, as velmora-render writes it for the same settings.");
}
