// vekhost --serve (the Linux build): the session behind a local web server,
// so that a person plays the command with the mouse in a browser. The
// server's threads never call the plug-in: every request goes through one
// queue to the thread that runs it, as the host's user-interface thread.
#ifndef TRISPAN_VEKHOST_SERVE_H
#define TRISPAN_VEKHOST_SERVE_H

#include "Session.h"

#include <functional>
#include <string>

namespace vekhost {

struct ServeOptions {
  std::string listen = "127.0.0.1";
  int port = 8750;
  bool portGiven = false; // a taken port is an error, not a reason to try the next
};

// The default port and how many after it are tried when it is taken.
const int kDefaultPort = 8750;
const int kPortsTried = 20;

// Serves the session until Ctrl-C (SIGINT or SIGTERM). The page's Quit, or
// Ctrl-C while the session runs, ends the session with `finish` (which
// writes the results); after Quit the server goes on answering (the state,
// and 410 for events) until Ctrl-C. Throws InputError when it cannot listen.
void Serve(Drawing& drawing, Session& session, const ServeOptions& options,
           const std::function<void()>& finish);

} // namespace vekhost

#endif
