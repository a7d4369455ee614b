#pragma once
// File > Export Movie...: the history bar's kept steps or trajectory frames, first to last, drawn
// as the picture shows them and made a movie by ffmpeg through the pipe velmora-render uses (MP4,
// WebM or GIF, as the name's extension says), at the bar's steps a second. A progress box follows
// the frames. The movie takes the target's place only when it is complete: a failure or Cancel
// leaves an older file there as it was; Cancel puts the frames so far beside it
// ("run.partial.mp4"), as the box then says. The window shows afterwards what it showed before.

#include <functional>

#include "picture/PictureFile.h"

class QWidget;

namespace velmora {

class HistoryBar;

void ExportMovie(QWidget* parent, HistoryBar& bar, const std::function<PictureSource()>& picture);

}  // namespace velmora
