#pragma once
// The frames of a run as PNG images in a folder, frame-000000.png, frame-000001.png, ...: every
// frame is complete in its file as soon as Add returns, so a run that stops keeps them all.

#include <string>

#include "picture/FrameSink.h"

namespace velmora {

class FrameFolder : public FrameSink {
 public:
  // Creates the folder (and its parents) when missing; throws its IoError.
  explicit FrameFolder(const std::string& folder);

  void Add(const QImage& frame) override;
  void Finish() override {}
  std::string Name() const override { return folder_; }

  // The name of frame `index` within the folder.
  static std::string FrameName(int index);

 private:
  std::string folder_;
  int count_ = 0;
};

}  // namespace velmora
