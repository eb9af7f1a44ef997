// vekhost --serve (the Linux build): the session behind a local web server,
// so that a person plays the command with the mouse in a browser. The
// server's threads never call the plug-in: every request goes through one
// queue to the thread that runs it, as the host's user-interface thread.
#ifndef TRISPAN_VEKHOST_SERVE_H
#define TRISPAN_VEKHOST_SERVE_H

#include "HttpServer.h"
#include "Session.h"

#include <functional>
#include <memory>
#include <string>

namespace vekhost {

// The default port and how many after it are tried when it is taken.
const int kDefaultPort = 8750;
const int kPortsTried = 20;

// The server listening at the address and the port given (0: the default
// one, or the next free one), before anything else is done. Throws
// InputError naming a bad address or a taken port.
std::unique_ptr<HttpServer> ListenForSession(const std::string& listen, int port,
                                             ServerLimits limits = {});

// Serves the session until Ctrl-C (SIGINT or SIGTERM). The page's Quit, or
// Ctrl-C while the session runs, ends the session with `finish` (which
// writes the results); after Quit the server goes on answering (the state,
// and 410 for events) until Ctrl-C. A second Ctrl-C ends the process at
// once. Beyond loopback every request needs the session's token, which the
// printed address carries.
void Serve(HttpServer& server, const std::string& listen, Drawing& drawing, Session& session,
           const std::function<void()>& finish);

} // namespace vekhost

#endif
