// The HTTP server of vekhost --serve: Boost.Beast over one thread that
// serves every connection asynchronously, bounded by construction. A
// request's head (request line and headers) and body are read against one
// deadline that starts at its first byte, the head within a size and a count
// of lines, the body within a size however it is sent (chunked included); a
// connection waiting for its next request is closed after a while, and at
// once when the server has as many connections as it takes and another one
// comes. Every answer, the server's own refusals included, is one write with
// the safety headers.
#ifndef TRISPAN_VEKHOST_HTTPSERVER_H
#define TRISPAN_VEKHOST_HTTPSERVER_H

#include "WebApp.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace vekhost {

// The server's limits, one value, so that tests can shorten them.
struct ServerLimits {
  size_t headBytes = 16 * 1024;
  size_t headLines = 100;
  size_t bodyBytes = kMaxBody;
  std::chrono::milliseconds request{10000}; // head and body, from the first byte
  std::chrono::milliseconds idle{5000};     // waiting for the next request
  std::chrono::milliseconds write{10000};   // an answer on its way out
  size_t connections = 512;
};

// Answers a request, on any thread, by calling respond once.
using Respond = std::function<void(WebReply)>;
using Handler = std::function<void(WebRequest, Respond)>;

class HttpServer {
public:
  // Listens on address at the first free port from first to last (the one
  // given: both the same). Throws InputError naming the address or ports.
  static std::unique_ptr<HttpServer> Listen(const std::string& address, int first, int last,
                                            ServerLimits limits = {});
  virtual ~HttpServer() = default;
  virtual int Port() const = 0;
  // Serves on a thread of its own until Stop.
  virtual void Start(Handler handler) = 0;
  // Closes the listener and every connection at once, whatever clients are
  // doing; returns when the server's thread has ended.
  virtual void Stop() = 0;
};

} // namespace vekhost

#endif
