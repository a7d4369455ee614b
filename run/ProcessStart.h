#pragma once
// What each tool does before anything else. A descriptor 0, 1 or 2 closed by whoever started
// the tool is opened on /dev/null, so that no file the tool opens takes its number (a table
// written to a closed standard output would otherwise go into the document being written).
// SIGXFSZ is ignored, so that a file larger than the process may write (`ulimit -f`) fails as
// a full disk does and the run tidies up instead of being killed with its pending files.

namespace velmora {

void StartProcess();
// Whether the standard output was closed when the tool started (it is /dev/null now).
bool StandardOutputWasClosed();

}  // namespace velmora
