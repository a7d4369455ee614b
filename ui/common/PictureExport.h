#pragma once
// File > Export Picture... and the chart's "Export picture ...": the picture dialog, whose
// filters offer PNG at 1, 2 and 4 times the drawing's size and SVG, then the drawing painted
// anew and written safely in the format the name's extension names (.png at the size the chosen
// filter names, .svg); another extension is refused. Cancelling writes nothing; a file error is
// thrown.

#include <QString>

#include "picture/PictureFile.h"

class QWidget;

namespace velmora {

void ExportDrawing(QWidget* parent, const QString& caption, const Drawing& drawing);

}  // namespace velmora
