// The web server's requests, checked and routed without the server itself:
// the page's own files, and the JSON API over one session
//   GET  /api/state[?journal=N]  the session's state (journal entries from N)
//   GET  /api/changes?since=V    what changed since the state's version V
//   GET  /api/drawing?part=K     a part of the drawing's items (ETag, gzip)
//   POST /api/event              {"event": "pick width", "since": V}: one
//                                script line; the changes since V (without
//                                V, those of the event)
//   POST /api/quit               ends the session
// Refused, each in one line of text: a Host header that names another
// server, or two of them (no DNS rebinding); a change whose Origin is not
// the page's own, or two Origins; an API request that another site's page
// sends (Sec-Fetch-Site); without the session's token, when it has one;
// bodies over 64 KiB; bodies that are no JSON object with an "event" text,
// and events with control characters.
#ifndef TRISPAN_VEKHOST_WEBAPP_H
#define TRISPAN_VEKHOST_WEBAPP_H

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace vekhost {

struct WebRequest {
  std::string method;
  std::string path; // without the query
  std::map<std::string, std::string> query;
  std::map<std::string, std::string> headers; // names in lower case
  std::set<std::string> repeated;             // header names given more than once
  std::string body;
};

struct WebReply {
  WebReply() = default;
  WebReply(int status, std::string type, std::string body)
      : status(status), type(std::move(type)), body(std::move(body)) {}

  int status = 200;
  std::string type = "text/plain; charset=utf-8";
  std::string body;
  // A large body shared between answers (the drawing), in place of body.
  std::shared_ptr<const std::string> shared;
  std::vector<std::pair<std::string, std::string>> headers;

  const std::string& Body() const { return shared ? *shared : body; }
};

// A one-line text answer.
WebReply TextReply(int status, const std::string& line);
// A refusal the page tells in its own language: the line, and a code that
// stays the same in the Vekhost-Refusal header.
WebReply RefusalReply(int status, const char* code, const std::string& line);

// A body made once and sent many times, with its tag.
struct StoredBody {
  std::string etag; // quoted, as the ETag header carries it
  std::shared_ptr<const std::string> body;
  bool gzipped = false; // the body is in gzip form
};

// What the requests reach: the session, on the thread that runs the plug-in.
class SessionPort {
public:
  virtual ~SessionPort() = default;
  // The state as JSON, journal entries from the given index on.
  virtual WebReply State(size_t journalFrom) = 0;
  // What changed since the version, as JSON.
  virtual WebReply Changes(uint64_t since) = 0;
  // A part of the drawing's items, in gzip form if the client takes it; no
  // body past the last.
  virtual StoredBody DrawingPart(size_t index, bool gzip) = 0;
  // Plays one script line: the changes since the version (without one,
  // those of the event), 400 for a line that cannot be read, 409 for an
  // event the open dialog does not take (or a dialog action without a
  // dialog), 410 once the session has ended.
  virtual WebReply Event(const std::string& line, std::optional<uint64_t> since) = 0;
  // Ends the session: the state at its end.
  virtual WebReply Quit() = 0;
};

const size_t kMaxBody = 64 * 1024;
// The cookie that carries the session's token after the first page.
const char kTokenCookie[] = "vekhost-token";

// Who may use the server.
struct Access {
  // The Host header values that name this server ("127.0.0.1:8750").
  std::vector<std::string> hosts;
  // Needed on every request when not empty: from the URL's ?token= (then
  // kept in a cookie), the cookie, or Authorization: Bearer.
  std::string token;
};

class WebApp {
public:
  WebApp(SessionPort& port, Access access);
  WebReply Handle(const WebRequest& request);

private:
  // The refusal of a request that may not reach the session, if any.
  std::optional<WebReply> Refusal(const WebRequest& request) const;
  WebReply Api(const WebRequest& request);
  WebReply Read(const WebRequest& request);
  WebReply DrawingPart(const WebRequest& request);
  WebReply Event(const WebRequest& request);
  SessionPort& port_;
  Access access_;
};

// The headers every answer carries, the server's own refusals included: the
// page may be framed by no one, loads its own files alone, and its types are
// as given; the API's answers are never stored (the drawing is looked at
// again, by its tag).
std::vector<std::pair<std::string, std::string>> SafetyHeaders(const std::string& path);

} // namespace vekhost

#endif
