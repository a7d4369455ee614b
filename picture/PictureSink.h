#pragma once
// The scene after the run as one picture (PNG or SVG). The file is opened before the run, so
// that one that cannot be written is refused at once, and it is written only when the run has
// ended: a run that faults or is interrupted writes nothing.

#include <QByteArray>
#include <memory>
#include <string>

#include "documents/PendingFile.h"
#include "picture/FrameSink.h"

namespace velmora {

class PictureSink : public FrameSink {
 public:
  // Throws the file's IoError with its name.
  PictureSink(const std::string& name, PictureFormat format);

  // Each frame replaces the one before; the last is the picture.
  void Add(const PictureSource& source) override;
  void Finish() override;
  std::string Abandon() override { return "nothing written"; }

 private:
  std::string name_;
  PictureFormat format_;
  std::unique_ptr<PendingFile> file_;
  QByteArray bytes_;
};

}  // namespace velmora
