#pragma once
// Ctrl+C, a termination request, a closed terminal (SIGHUP), a reader that went away (SIGPIPE),
// Ctrl+\ (SIGQUIT), a timer (SIGALRM), SIGUSR1, SIGUSR2 or the end of the processor time
// allowed (SIGXCPU) ends a tool's run between two steps, so that the tool can tidy up (remove pending
// files, finish a movie); the signal is then raised again to end the program as it asks. A
// second signal during the tidying up waits for it as the first did, so that nothing half-done
// is left behind. A signal ignored when the program starts stays ignored.

namespace velmora {

void CatchInterruptions();
// The signal caught, or 0 when none was.
int CaughtInterruption();
// Ends the program by the caught signal, as it would have ended without being caught.
void RaiseCaughtInterruption();

}  // namespace velmora
