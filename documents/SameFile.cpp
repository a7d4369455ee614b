#include "documents/SameFile.h"

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <tuple>

namespace velmora {

namespace {

std::filesystem::path Resolved(const std::string& name) {
  std::error_code ignored;
  return std::filesystem::weakly_canonical(std::filesystem::absolute(name, ignored), ignored);
}

// Where a file that may not exist yet would be: its folder's device and inode and its name, so
// that two spellings of one folder (a bind mount, a link) give the same place.
using Place = std::tuple<dev_t, ino_t, std::string>;

std::optional<Place> PlaceOf(const std::string& name) {
  const std::filesystem::path path = Resolved(name);
  struct stat folder {};
  if (::stat(path.parent_path().c_str(), &folder) != 0) return std::nullopt;
  return Place{folder.st_dev, folder.st_ino, path.filename().string()};
}

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  struct stat first {
  }, second{};
  if (::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0)
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  const std::optional<Place> placeA = PlaceOf(a), placeB = PlaceOf(b);
  if (placeA && placeB) return *placeA == *placeB;
  return Resolved(a) == Resolved(b);
}

}  // namespace velmora
