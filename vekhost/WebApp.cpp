#include "WebApp.h"

#include "EmbeddedFile.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>

// The page's files, built into the program (vekhost/CMakeLists.txt).
extern const EmbeddedFile kPageFiles[];
extern const size_t kPageFilesCount;

namespace vekhost {

namespace {

std::string Header(const WebRequest& request, const char* name) {
  auto it = request.headers.find(name);
  return it == request.headers.end() ? "" : it->second;
}

// The media type of a page file, by its name's ending.
std::string ContentType(const std::string& name) {
  auto endsWith = [&](const std::string& end) {
    return name.size() >= end.size() &&
           name.compare(name.size() - end.size(), end.size(), end) == 0;
  };
  return endsWith(".html") ? "text/html; charset=utf-8"
         : endsWith(".js") ? "text/javascript; charset=utf-8"
                           : "text/css; charset=utf-8";
}

// A query's whole number: none when it is not given or no number of 18
// digits at most.
std::optional<uint64_t> NumberIn(const WebRequest& request, const char* name) {
  auto it = request.query.find(name);
  if (it == request.query.end() || it->second.empty() || it->second.size() > 18 ||
      !std::all_of(it->second.begin(), it->second.end(),
                   [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  return std::stoull(it->second);
}

// The index of the first journal entry a client asks for: none (the
// largest index) when it names none, the first when it names no number.
size_t JournalFrom(const WebRequest& request) {
  if (!request.query.count("journal")) return SIZE_MAX;
  return size_t(NumberIn(request, "journal").value_or(0));
}

// The token a request carries: in the URL, in the cookie, or as a bearer.
std::string TokenOf(const WebRequest& request) {
  auto query = request.query.find("token");
  if (query != request.query.end()) return query->second;
  std::string cookies = "; " + Header(request, "cookie");
  std::string name = std::string("; ") + kTokenCookie + "=";
  size_t at = cookies.find(name);
  if (at != std::string::npos) {
    size_t start = at + name.size();
    return cookies.substr(start, cookies.find(';', start) - start);
  }
  std::string authorization = Header(request, "authorization");
  return authorization.rfind("Bearer ", 0) == 0 ? authorization.substr(7) : "";
}

bool HasControl(const std::string& line) {
  return std::any_of(line.begin(), line.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

} // namespace

WebReply TextReply(int status, const std::string& line) {
  return {status, "text/plain; charset=utf-8", line + "\n"};
}

WebReply RefusalReply(int status, const char* code, const std::string& line) {
  WebReply reply = TextReply(status, line);
  reply.headers.emplace_back("Vekhost-Refusal", code);
  return reply;
}

std::vector<std::pair<std::string, std::string>> SafetyHeaders(const std::string& path) {
  std::vector<std::pair<std::string, std::string>> headers = {
      {"Content-Security-Policy", "default-src 'self'; frame-ancestors 'none'"},
      {"X-Frame-Options", "DENY"},
      {"X-Content-Type-Options", "nosniff"},
  };
  bool drawing = path == "/api/drawing";
  headers.emplace_back("Cache-Control", drawing ? "no-cache" : "no-store");
  return headers;
}

WebApp::WebApp(SessionPort& port, Access access) : port_(port), access_(std::move(access)) {}

std::optional<WebReply> WebApp::Refusal(const WebRequest& request) const {
  if (request.repeated.count("host")) return TextReply(400, "refused: a request names one Host");
  std::string host = Header(request, "host");
  if (std::find(access_.hosts.begin(), access_.hosts.end(), host) == access_.hosts.end())
    return TextReply(403, "refused: the Host header \"" + host + "\" does not name this server");
  if (request.repeated.count("origin"))
    return TextReply(403, "refused: a request names one Origin at most");
  if (!access_.token.empty() && TokenOf(request) != access_.token)
    return TextReply(401,
                     "refused: this session needs its token: open the address vekhost printed");
  if (request.body.size() > kMaxBody)
    return TextReply(413,
                     "refused: a body may have " + std::to_string(kMaxBody) + " bytes at most");
  // A page of another site (another port of this machine included) may not
  // reach the API; a browser says so, scripts send nothing.
  std::string site = Header(request, "sec-fetch-site");
  if (request.path.rfind("/api/", 0) == 0 && !site.empty() && site != "same-origin" &&
      site != "none")
    return TextReply(403, "refused: requests from another site (" + site + ") may not use the API");
  return std::nullopt;
}

WebReply WebApp::Handle(const WebRequest& request) {
  if (std::optional<WebReply> refusal = Refusal(request)) return *refusal;
  WebReply reply;
  if (request.path.rfind("/api/", 0) == 0) {
    reply = Api(request);
  } else if (request.method != "GET" && request.method != "HEAD") {
    reply = TextReply(405, "the page's files can only be read (GET)");
  } else {
    std::string path = request.path == "/" ? "/index.html" : request.path;
    reply = TextReply(404, "no such page: " + request.path);
    for (size_t i = 0; i < kPageFilesCount; ++i) {
      const EmbeddedFile& file = kPageFiles[i];
      if (path == "/" + std::string(file.name))
        reply = {200, ContentType(file.name),
                 std::string(reinterpret_cast<const char*>(file.bytes), file.size)};
    }
  }
  // The token goes from the address into a cookie the page's requests carry.
  if (!access_.token.empty() && request.query.count("token"))
    reply.headers.emplace_back("Set-Cookie", std::string(kTokenCookie) + "=" + access_.token +
                                                 "; Path=/; HttpOnly; SameSite=Strict");
  return reply;
}

WebReply WebApp::DrawingPart(const WebRequest& request) {
  std::optional<uint64_t> index = NumberIn(request, "part");
  if (!index) return TextReply(400, "expected ?part=K, K counting from 0");
  bool gzip = Header(request, "accept-encoding").find("gzip") != std::string::npos;
  StoredBody part = port_.DrawingPart(size_t(*index), gzip);
  if (!part.body) return TextReply(404, "the drawing has no part " + std::to_string(*index));
  WebReply reply(200, "application/json", "");
  reply.shared = part.body;
  reply.headers = {{"ETag", part.etag}};
  if (Header(request, "if-none-match") == part.etag) {
    reply.status = 304;
    reply.shared.reset();
  } else if (part.gzipped) {
    reply.headers.emplace_back("Content-Encoding", "gzip");
  }
  reply.headers.emplace_back("Vary", "Accept-Encoding");
  return reply;
}

WebReply WebApp::Read(const WebRequest& request) {
  if (request.path == "/api/state") return port_.State(JournalFrom(request));
  if (request.path == "/api/drawing") return DrawingPart(request);
  std::optional<uint64_t> since = NumberIn(request, "since");
  if (!since) return TextReply(400, "expected ?since=V, the version of the state the page has");
  return port_.Changes(*since);
}

WebReply WebApp::Event(const WebRequest& request) {
  nlohmann::json body = nlohmann::json::parse(request.body, nullptr, false);
  if (body.is_discarded()) return TextReply(400, "the body is no JSON");
  if (!body.is_object() || !body.contains("event") || !body["event"].is_string())
    return TextReply(400,
                     "expected a JSON object with an \"event\" text, such as {\"event\": \"end\"}");
  std::optional<uint64_t> since;
  if (body.contains("since")) {
    if (!body["since"].is_number_unsigned())
      return TextReply(400, "\"since\" is the version of the state the page has: a whole number");
    since = body["since"].get<uint64_t>();
  }
  std::string line = body["event"].get<std::string>();
  if (line.find_first_of("\r\n") != std::string::npos)
    return TextReply(400, "an event is one line");
  if (HasControl(line)) return TextReply(400, "an event holds no control characters");
  return port_.Event(line, since);
}

WebReply WebApp::Api(const WebRequest& request) {
  bool read = request.method == "GET" || request.method == "HEAD";
  if (request.path == "/api/state" || request.path == "/api/changes" ||
      request.path == "/api/drawing") {
    if (!read) return TextReply(405, request.path + " can only be read (GET)");
    return Read(request);
  }
  if (request.path != "/api/event" && request.path != "/api/quit")
    return TextReply(404, "no such API: " + request.path);
  if (request.method != "POST") return TextReply(405, request.path + " takes POST");
  // A page of another site may not drive the session; clients that send no
  // Origin (curl, scripts) may.
  std::string origin = Header(request, "origin");
  if (!origin.empty() && origin != "http://" + Header(request, "host"))
    return TextReply(403, "refused: requests from " + origin + " may not change the session");
  return request.path == "/api/quit" ? port_.Quit() : Event(request);
}

} // namespace vekhost
