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

WebReply Refuse(int status, const std::string& line) {
  return {status, "text/plain; charset=utf-8", line + "\n"};
}

std::string Header(const WebRequest& request, const char* name) {
  auto it = request.headers.find(name);
  return it == request.headers.end() ? "" : it->second;
}

// The index of the first journal entry a client asks for; none (the
// largest index) when it names none or no number.
size_t JournalFrom(const WebRequest& request) {
  auto it = request.query.find("journal");
  if (it == request.query.end()) return SIZE_MAX;
  if (it->second.empty() || it->second.size() > 9 ||
      !std::all_of(it->second.begin(), it->second.end(),
                   [](char c) { return c >= '0' && c <= '9'; }))
    return 0;
  return std::stoul(it->second);
}

} // namespace

WebApp::WebApp(SessionPort& port, std::vector<std::string> hosts)
    : port_(port), hosts_(std::move(hosts)) {}

WebReply WebApp::Handle(const WebRequest& request) {
  std::string host = Header(request, "host");
  if (std::find(hosts_.begin(), hosts_.end(), host) == hosts_.end())
    return Refuse(403, "refused: the Host header \"" + host + "\" does not name this server");
  if (request.body.size() > kMaxBody)
    return Refuse(413, "refused: a body may have " + std::to_string(kMaxBody) + " bytes at most");
  if (request.path.rfind("/api/", 0) == 0) return Api(request);
  if (request.method != "GET" && request.method != "HEAD")
    return Refuse(405, "the page's files can only be read (GET)");
  std::string path = request.path == "/" ? "/index.html" : request.path;
  for (size_t i = 0; i < kPageFilesCount; ++i) {
    const EmbeddedFile& file = kPageFiles[i];
    if (path == "/" + std::string(file.name))
      return {200, ContentType(file.name),
              std::string(reinterpret_cast<const char*>(file.bytes), file.size)};
  }
  return Refuse(404, "no such page: " + request.path);
}

WebReply WebApp::Api(const WebRequest& request) {
  bool read = request.method == "GET" || request.method == "HEAD";
  if (request.path == "/api/state" || request.path == "/api/drawing.svg") {
    if (!read) return Refuse(405, request.path + " can only be read (GET)");
    return request.path == "/api/state" ? port_.State(JournalFrom(request)) : port_.Svg();
  }
  if (request.path != "/api/event" && request.path != "/api/quit")
    return Refuse(404, "no such API: " + request.path);
  if (request.method != "POST") return Refuse(405, request.path + " takes POST");
  // A page of another site may not drive the session; clients that send no
  // Origin (curl, scripts) may.
  std::string origin = Header(request, "origin");
  if (!origin.empty() && origin != "http://" + Header(request, "host"))
    return Refuse(403, "refused: requests from " + origin + " may not change the session");
  if (request.path == "/api/quit") return port_.Quit();
  nlohmann::json body = nlohmann::json::parse(request.body, nullptr, false);
  if (body.is_discarded()) return Refuse(400, "the body is no JSON");
  if (!body.is_object() || !body.contains("event") || !body["event"].is_string())
    return Refuse(400,
                  "expected a JSON object with an \"event\" text, such as {\"event\": \"end\"}");
  std::string line = body["event"].get<std::string>();
  if (line.find_first_of("\r\n") != std::string::npos) return Refuse(400, "an event is one line");
  return port_.Event(line);
}

} // namespace vekhost
