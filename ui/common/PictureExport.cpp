#include "ui/common/PictureExport.h"

#include <QStringList>

#include <algorithm>

#include "ui/common/DialogProvider.h"
#include "ui/common/FileNames.h"

namespace velmora {

namespace {

// The picture dialog's filters: each names a format and, for PNG, how many image pixels a
// pixel of the drawing becomes.
struct PictureKind {
  const char* Filter;
  PictureFormat Format;
  int Scale;
};

constexpr PictureKind PictureKinds[] = {
    {"PNG image (*.png)", PictureFormat::Png, 1},
    {"PNG image, twice the size (*.png)", PictureFormat::Png, 2},
    {"PNG image, four times the size (*.png)", PictureFormat::Png, 4},
    {"SVG drawing (*.svg)", PictureFormat::Svg, 1},
};

}  // namespace

void ExportDrawing(QWidget* parent, const QString& caption, const Drawing& drawing) {
  QStringList filters;
  for (const PictureKind& kind : PictureKinds) filters << QString::fromUtf8(kind.Filter);
  QString filter;
  const std::optional<QString> name = DialogProvider::Instance().ExportFileName(parent, caption, filters, filter);
  if (!name) return;
  const PictureKind& kind = PictureKinds[std::max<qsizetype>(filters.indexOf(filter), 0)];
  WriteDrawing(FileName(*name), kind.Format, drawing, kind.Scale);
}

}  // namespace velmora
