#include "run/ProcessStart.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace velmora {

namespace {

bool outputClosed = false;

bool IsClosed(int descriptor) { return ::fcntl(descriptor, F_GETFD) < 0 && errno == EBADF; }

}  // namespace

void StartProcess() {
  for (int descriptor = STDIN_FILENO; descriptor <= STDERR_FILENO; ++descriptor) {
    if (!IsClosed(descriptor)) continue;
    if (descriptor == STDOUT_FILENO) outputClosed = true;
    // The lowest free number is this one: the ones below are open.
    ::open("/dev/null", descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
  }
  std::signal(SIGXFSZ, SIG_IGN);
}

bool StandardOutputWasClosed() { return outputClosed; }

}  // namespace velmora
