#include "picture/OutputFormat.h"

#include <algorithm>
#include <cctype>

namespace velmora {

namespace {

template <class Format, std::size_t Size>
std::optional<Format> ByExtension(const std::string& name,
                                  const std::pair<const char*, Format> (&extensions)[Size]) {
  for (const auto& [extension, format] : extensions) {
    const std::string ending = extension;
    if (name.size() >= ending.size() &&
        std::equal(ending.rbegin(), ending.rend(), name.rbegin(),
                   [](char e, char c) { return e == std::tolower(static_cast<unsigned char>(c)); }))
      return format;
  }
  return std::nullopt;
}

constexpr std::pair<const char*, PictureFormat> Pictures[] = {{".png", PictureFormat::Png},
                                                              {".svg", PictureFormat::Svg}};
constexpr std::pair<const char*, MovieFormat> Movies[] = {
    {".mp4", MovieFormat::Mp4}, {".webm", MovieFormat::Webm}, {".gif", MovieFormat::Gif}};

}  // namespace

std::optional<PictureFormat> PictureFormatOf(const std::string& name) { return ByExtension(name, Pictures); }

std::optional<MovieFormat> MovieFormatOf(const std::string& name) { return ByExtension(name, Movies); }

}  // namespace velmora
