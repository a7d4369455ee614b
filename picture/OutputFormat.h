#pragma once
// What a file name's extension asks for, in any case: a picture (".png", ".svg") or a movie
// (".mp4", ".webm", ".gif").

#include <optional>
#include <string>

namespace velmora {

enum class PictureFormat { Png, Svg };
enum class MovieFormat { Mp4, Webm, Gif };

std::optional<PictureFormat> PictureFormatOf(const std::string& name);
std::optional<MovieFormat> MovieFormatOf(const std::string& name);

}  // namespace velmora
