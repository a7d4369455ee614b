#include "run/Interruption.h"

#include <csignal>

namespace velmora {

namespace {

volatile std::sig_atomic_t interruption = 0;

// The first signal decides how the program ends.
void Interrupt(int signal) {
  if (interruption == 0) interruption = signal;
}

// Ctrl+C, a termination request, a closed terminal, a reader that went away, and the other
// signals that would end the program at once: Ctrl+\, a timer, the user's two signals and the
// end of the processor time it may use.
constexpr int Interruptions[] = {SIGINT,  SIGTERM, SIGHUP,  SIGPIPE, SIGQUIT,
                                 SIGALRM, SIGUSR1, SIGUSR2, SIGXCPU};

}  // namespace

void CatchInterruptions() {
  struct sigaction action {};
  action.sa_handler = Interrupt;
  sigemptyset(&action.sa_mask);
  for (int signal : Interruptions) {
    // A signal ignored by whoever started the program (nohup ignores SIGHUP) stays ignored.
    struct sigaction old {};
    if (sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    sigaction(signal, &action, nullptr);
  }
}

int CaughtInterruption() { return interruption; }

void RaiseCaughtInterruption() {
  std::signal(interruption, SIG_DFL);
  std::raise(interruption);
}

}  // namespace velmora
