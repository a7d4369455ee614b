#include "picture/PictureSink.h"

#include <memory>
#include <string_view>

#include "documents/IoErrors.h"

namespace velmora {

PictureSink::PictureSink(const std::string& name, PictureFormat format) : name_(name), format_(format) {
  OnFile(name_, [&] { file_ = std::make_unique<PendingFile>(name_); });
}

void PictureSink::Add(const PictureSource& source) { bytes_ = PictureBytes(format_, source); }

void PictureSink::Finish() {
  OnFile(name_, [&] {
    file_->Append(std::string_view(bytes_.constData(), static_cast<std::size_t>(bytes_.size())));
    file_->Commit();
  });
}

}  // namespace velmora
