#pragma once
// Ctrl+C or a termination request ends a tool's run between two steps, so that the tool can
// tidy up (remove a pending file, finish a movie); the signal is then raised again to end the
// program as it asks. A second Ctrl+C ends the program at once.

namespace velmora {

void CatchInterruptions();
// The signal caught, or 0 when none was.
int CaughtInterruption();
// Ends the program by the caught signal, as it would have ended without being caught.
void RaiseCaughtInterruption();

}  // namespace velmora
