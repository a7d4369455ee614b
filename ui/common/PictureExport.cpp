#include "ui/common/PictureExport.h"

#include <QStringList>
#include <algorithm>

#include "model/ProgramError.h"
#include "picture/OutputFormat.h"
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
  const std::optional<QString> name =
      DialogProvider::Instance().ExportFileName(parent, caption, filters, filter);
  if (!name) return;
  // The name's extension says the format, as for velmora-render; a PNG filter its size.
  const std::string file = FileName(*name);
  const std::optional<PictureFormat> format = PictureFormatOf(file);
  if (!format) throw ProgramError("'" + name->toStdString() + "' is no picture (.png, .svg)");
  const PictureKind& kind = PictureKinds[std::max<qsizetype>(filters.indexOf(filter), 0)];
  WriteDrawing(file, *format, drawing, *format == kind.Format ? kind.Scale : 1);
}

}  // namespace velmora
