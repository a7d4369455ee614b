#include "documents/SameFile.h"

#include <sys/stat.h>

#include <filesystem>

namespace velmora {

namespace {

std::filesystem::path Resolved(const std::string& name) {
  std::error_code ignored;
  return std::filesystem::weakly_canonical(std::filesystem::absolute(name, ignored), ignored);
}

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  struct stat first {}, second {};
  if (::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0)
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  return Resolved(a) == Resolved(b);
}

}  // namespace velmora
