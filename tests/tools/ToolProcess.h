#pragma once
// Running velmora-batch (or velmora-render) as a process from a test, with its output caught in
// files.

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/core/TemporaryFolder.h"

namespace velmora::testing {

struct Outcome {
  int status;  // the exit status, or 128 + the signal that ended the process
  std::string out, err;
};

inline int StatusOf(int wait) { return WIFEXITED(wait) ? WEXITSTATUS(wait) : 128 + WTERMSIG(wait); }

// The tool's path, then the arguments, as execv takes them; they point into `arguments`.
inline std::vector<char*> ArgumentVector(std::vector<std::string>& arguments,
                                         const char* tool = VELMORA_BATCH_PATH) {
  arguments.insert(arguments.begin(), tool);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  return argv;
}

// For RunTool: limits the tool's memory as `ulimit -v` does (in bytes).
inline std::function<void()> AddressSpace(rlim_t bytes) {
  return [bytes] {
    const rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_AS, &limit);
  };
}

// Runs the tool with standard output and error going to files of the folder; a run that takes
// more than twenty seconds is ended by the alarm, which outlives the exec. `inChild` sets up the
// child before the exec (a limit, another standard output, another folder).
inline Outcome RunTool(const TemporaryFolder& folder, std::vector<std::string> arguments,
                       const std::function<void()>& inChild = nullptr,
                       const char* tool = VELMORA_BATCH_PATH) {
  std::vector<char*> argv = ArgumentVector(arguments, tool);
  const std::string out = folder.Path(".stdout"), err = folder.Path(".stderr");
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDOUT_FILENO);
    ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
    ::alarm(20);
    if (inChild) inChild();
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  int wait = 0;
  ::waitpid(child, &wait, 0);
  Outcome outcome{StatusOf(wait), ReadBytes(out), ReadBytes(err)};
  ::unlink(out.c_str());
  ::unlink(err.c_str());
  return outcome;
}

// A small file system of its own (64 KiB unless told), mounted where the superuser may; none
// otherwise.
class SmallDisk {
 public:
  explicit SmallDisk(const std::string& folder, const std::string& size = "64k") : folder_(folder) {
    ::mkdir(folder.c_str(), 0755);
    mounted_ = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
  }
  ~SmallDisk() {
    if (mounted_) ::umount(folder_.c_str());
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;
  bool Mounted() const { return mounted_; }

 private:
  std::string folder_;
  bool mounted_ = false;
};

}  // namespace velmora::testing
