#pragma once
// What the fuzz targets share: a scratch folder for the files they read and write, and the
// check that ends the run with a message when a promise of the program is broken (libFuzzer
// and the replay program both report the abort with the input that caused it).

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace velmora::fuzz {

inline void Require(bool promise, std::string_view what) {
  if (promise) return;
  std::fprintf(stderr, "broken promise: %.*s\n", static_cast<int>(what.size()), what.data());
  std::abort();
}

// A private folder, removed when the program ends. Memory-backed when the system offers one, so
// that the synced writes of a save cost nothing per input.
class ScratchFolder {
 public:
  ScratchFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string root = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : base && *base ? base : "/tmp";
    std::string pattern = root + "/velmora-fuzz-XXXXXX";
    Require(::mkdtemp(pattern.data()) != nullptr, "a scratch folder can be made");
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::string Path(const std::string& name) const { return path_ + "/" + name; }

  // Replaces the file `name` by bytes and returns its path.
  std::string Write(const std::string& name, std::string_view bytes) const {
    const std::string path = Path(name);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    Require(file != nullptr, "a scratch file can be made");
    Require(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size(),
            "a scratch file can be written");
    std::fclose(file);
    return path;
  }

 private:
  std::string path_;
};

}  // namespace velmora::fuzz
