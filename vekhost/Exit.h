// How vekhost ends: its exit statuses, and the one line that says why.
#ifndef TRISPAN_VEKHOST_EXIT_H
#define TRISPAN_VEKHOST_EXIT_H

#include <string>

namespace vekhost {

enum ExitStatus {
  kExitDone = 0,
  kExitPlugin = 1,     // the plug-in could not be loaded or registered
  kExitInput = 2,      // bad options or input files
  kExitNotWritten = 3, // results or settings could not be written
  kExitInternal = 70,  // an unexpected internal error
};

// Ends the run with one line; main turns it into the exit status.
struct Failure {
  std::string what;
  int status;
};

[[noreturn]] inline void Fail(const std::string& what, int status = kExitInput) {
  throw Failure{what, status};
}

} // namespace vekhost

#endif
