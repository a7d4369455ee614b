#pragma once
// File > Export Picture... and the chart's "Export picture ...": the picture dialog, whose
// filters offer PNG at 1, 2 and 4 times the drawing's size and SVG, then the drawing painted
// anew in the chosen kind and written safely. Cancelling writes nothing; a file error is thrown.

#include <QString>

#include "picture/PictureFile.h"

class QWidget;

namespace velmora {

void ExportDrawing(QWidget* parent, const QString& caption, const Drawing& drawing);

}  // namespace velmora
