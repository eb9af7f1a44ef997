// Any request to vekhost --serve's handler: any method, path, query, Host,
// Origin and body. Every answer is a known status with a body, no request
// reaches the session unless it passed the checks, and an event reaches it
// as one line; no crash, whatever the bytes.
#include "DrawingFile.h"
#include "Script.h"
#include "WebApp.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>

namespace {

const vekhost::Drawing& Box() {
  static const vekhost::Drawing drawing = vekhost::ParseDrawing(
      R"({"dimensions": [{"name": "width", "measure": 100}, {"name": "length", "measure": 50}]})",
      "box.json");
  return drawing;
}

// The session's side as the server's: events read as script lines.
class ScriptPort : public vekhost::SessionPort {
public:
  vekhost::WebReply State(size_t) override { return {200, "application/json", "{}"}; }
  vekhost::WebReply Changes(uint64_t) override { return State(0); }
  vekhost::StoredBody DrawingPart(size_t index, bool gzip) override {
    if (index > 0) return {};
    return {"\"t\"", std::make_shared<const std::string>(gzip ? "gz" : "{}"), gzip};
  }
  vekhost::WebReply Event(const std::string& line, std::optional<uint64_t>) override {
    if (line.find('\n') != std::string::npos) std::abort();
    try {
      vekhost::ParseEvent(line, Box(), "");
    } catch (const vekhost::InputError& error) {
      return {400, "text/plain", error.what()};
    }
    return State(0);
  }
  vekhost::WebReply Quit() override { return State(0); }
};

const char* const kMethods[] = {"GET", "POST", "HEAD", "PUT", "DELETE", "OPTIONS", "get", ""};
const char* const kHosts[] = {"127.0.0.1:8750", "localhost:8750", "evil.example:8750", ""};
const int kStatuses[] = {200, 304, 400, 401, 403, 404, 405, 409, 410, 413};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  ScriptPort port;
  vekhost::WebApp app(port,
                      {{"127.0.0.1:8750", "localhost:8750"}, input.ConsumeBool() ? "t0ken" : ""});
  vekhost::WebRequest request;
  request.method = input.PickValueInArray(kMethods);
  const char* const paths[] = {"/api/event", "/api/changes", "/api/drawing", "/api/state"};
  request.path =
      input.ConsumeBool() ? input.PickValueInArray(paths) : input.ConsumeRandomLengthString(40);
  for (const char* name : {"journal", "since", "part"})
    if (input.ConsumeBool()) request.query[name] = input.ConsumeRandomLengthString(20);
  request.headers["host"] =
      input.ConsumeBool() ? input.PickValueInArray(kHosts) : input.ConsumeRandomLengthString(30);
  if (input.ConsumeBool()) request.headers["cookie"] = input.ConsumeRandomLengthString(30);
  if (input.ConsumeBool()) request.headers["sec-fetch-site"] = input.ConsumeRandomLengthString(12);
  if (input.ConsumeBool()) request.repeated.insert(input.ConsumeBool() ? "host" : "origin");
  if (input.ConsumeBool())
    request.headers["origin"] =
        input.ConsumeBool() ? "http://127.0.0.1:8750" : input.ConsumeRandomLengthString(30);
  request.body = input.ConsumeBool()
                     ? "{\"event\": \"" + input.ConsumeRandomLengthString(60) +
                           "\", \"since\": " + input.ConsumeRandomLengthString(12) + "}"
                     : input.ConsumeRemainingBytesAsString();
  vekhost::WebReply reply = app.Handle(request);
  if (std::find(std::begin(kStatuses), std::end(kStatuses), reply.status) == std::end(kStatuses) ||
      (reply.Body().empty() && reply.status != 304))
    std::abort();
  return 0;
}
