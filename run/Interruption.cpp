#include "run/Interruption.h"

#include <csignal>

namespace velmora {

namespace {

volatile std::sig_atomic_t interruption = 0;

void Interrupt(int signal) { interruption = signal; }

}  // namespace

void CatchInterruptions() {
  struct sigaction action {};
  action.sa_handler = Interrupt;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

int CaughtInterruption() { return interruption; }

void RaiseCaughtInterruption() { std::raise(interruption); }

}  // namespace velmora
