// The signals that end a tool's run: each is caught every time it comes, so that the run ends as
// Ctrl+C ends it, with its pending files removed.

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>

#include "TemporaryFolder.h"
#include "run/Interruption.h"

namespace velmora {
namespace {

using namespace testing;

TEST(Interruption, EachSignalIsCaughtEveryTimeUnlessIgnoredFromTheStart) {
  struct SignalCase {
    int signal;
    bool ignoredBefore;  // as nohup leaves SIGHUP
    int caught;
  };
  const SignalCase cases[] = {{SIGINT, false, SIGINT},
                              {SIGTERM, false, SIGTERM},
                              {SIGHUP, false, SIGHUP},
                              {SIGPIPE, false, SIGPIPE},
                              {SIGHUP, true, 0}};
  for (const SignalCase& c : cases) {
    const int result = ExitCodeInChildProcess([&] {
      // Set either way: the tests may themselves run with a signal ignored (SIGHUP under nohup).
      std::signal(c.signal, c.ignoredBefore ? SIG_IGN : SIG_DFL);
      CatchInterruptions();
      std::raise(c.signal);
      std::raise(c.signal);  // a second Ctrl+C waits for the tidying up as the first does
      return CaughtInterruption();
    });
    EXPECT_EQ(result, c.caught) << strsignal(c.signal) << (c.ignoredBefore ? ", ignored before" : "");
  }
}

}  // namespace
}  // namespace velmora
