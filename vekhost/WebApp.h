// The web server's requests, checked and routed without the server itself:
// the page's own assets, and the JSON API over one session
//   GET  /api/state[?journal=N]  the session's state (journal entries from N)
//   GET  /api/drawing.svg        the drawing as it stands
//   POST /api/event              {"event": "pick width"}: one script line
//   POST /api/quit               ends the session
// Refused: a Host header that names another server (no DNS rebinding), a
// POST whose Origin is not the page's own, bodies over 64 KiB, bodies that
// are no JSON object with an "event" text. Every refusal is one line.
#ifndef TRISPAN_VEKHOST_WEBAPP_H
#define TRISPAN_VEKHOST_WEBAPP_H

#include <map>
#include <string>
#include <vector>

namespace vekhost {

struct WebRequest {
  std::string method;
  std::string path; // without the query
  std::map<std::string, std::string> query;
  std::map<std::string, std::string> headers; // names in lower case
  std::string body;
};

struct WebReply {
  int status = 200;
  std::string type = "text/plain; charset=utf-8";
  std::string body;
};

// What the requests reach: the session, on the thread that runs the plug-in.
class SessionPort {
public:
  virtual ~SessionPort() = default;
  // The state as JSON, journal entries from the given index on.
  virtual WebReply State(size_t journalFrom) = 0;
  virtual WebReply Svg() = 0;
  // Plays one script line: the state after it, 400 for a line that cannot
  // be read, 409 for an event the open dialog does not take (or a dialog
  // action without a dialog), 410 once the session has ended.
  virtual WebReply Event(const std::string& line) = 0;
  virtual WebReply Quit() = 0;
};

const size_t kMaxBody = 64 * 1024;

class WebApp {
public:
  // hosts: the Host header values that name this server ("127.0.0.1:8750").
  WebApp(SessionPort& port, std::vector<std::string> hosts);
  WebReply Handle(const WebRequest& request);

private:
  WebReply Api(const WebRequest& request);
  SessionPort& port_;
  std::vector<std::string> hosts_;
};

} // namespace vekhost

#endif
