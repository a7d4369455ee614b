#pragma once
// The frames of a run as PNG images in a folder, frame-000000.png, frame-000001.png, ...: each
// frame is written through a pending file, so it is complete in the folder or not there at all,
// and a run that stops keeps every frame before it. A folder that holds frames of another run is
// refused, or with `overwrite` emptied of them when the first frame comes (a run refused before
// it leaves them), so that no older frame is mixed in. The folder is locked for the run: a second
// run into it at the same time is refused.

#include <QImage>
#include <filesystem>
#include <string>
#include <vector>

#include "picture/FrameSink.h"

namespace velmora {

class FrameFolder : public FrameSink {
 public:
  // Creates the folder (and its parents) when missing and locks it; throws its IoError, or a
  // ProgramError for a folder holding frames when not `overwrite` or locked by another run. A
  // run abandoned before its first frame takes away again the folders it created.
  FrameFolder(const std::string& folder, bool overwrite);
  ~FrameFolder() override;
  FrameFolder(const FrameFolder&) = delete;
  FrameFolder& operator=(const FrameFolder&) = delete;

  void Add(const PictureSource& source) override;
  void Finish() override {}
  std::string Abandon() override;

  // The name of frame `index` within the folder.
  static std::string FrameName(int index);
  // Whether a file name is that of a frame.
  static bool IsFrameName(const std::string& name);

 private:
  void Lock();
  // The frames of another run in the folder.
  std::vector<std::filesystem::path> OldFrames() const;

  std::string folder_;
  std::vector<std::filesystem::path> created_;  // innermost first
  std::vector<std::filesystem::path> old_;      // removed when the first frame comes
  int lock_ = -1;
  QImage frame_;
  int count_ = 0;
};

}  // namespace velmora
