// The web server's requests, checked and routed without a server: each row a
// request and what the app answers, and which call of the session it makes.
#include "WebApp.h"

#include <gtest/gtest.h>

namespace {

using vekhost::WebReply;
using vekhost::WebRequest;

// A session that records what the app asks of it.
class FakePort : public vekhost::SessionPort {
public:
  WebReply State(size_t journalFrom) override {
    calls.push_back("state " + (journalFrom == SIZE_MAX ? "none" : std::to_string(journalFrom)));
    return {200, "application/json", "{}"};
  }
  WebReply Svg() override {
    calls.push_back("svg");
    return {200, "image/svg+xml", "<svg/>"};
  }
  WebReply Event(const std::string& line) override {
    calls.push_back("event " + line);
    return {200, "application/json", "{}"};
  }
  WebReply Quit() override {
    calls.push_back("quit");
    return {200, "application/json", "{}"};
  }
  std::vector<std::string> calls;
};

const char kHost[] = "127.0.0.1:8750";

struct RequestRow {
  const char* what;
  WebRequest request;
  int status;
  std::string body; // what the answer begins with
  std::vector<std::string> calls;
};

void PrintTo(const RequestRow& row, std::ostream* out) { *out << row.what; }

WebRequest Get(const std::string& path, std::map<std::string, std::string> query = {}) {
  return {"GET", path, std::move(query), {{"host", kHost}}, ""};
}

WebRequest Post(const std::string& path, const std::string& body, const std::string& origin = "") {
  WebRequest request{"POST", path, {}, {{"host", kHost}}, body};
  if (!origin.empty()) request.headers["origin"] = origin;
  return request;
}

WebRequest WithHost(WebRequest request, const std::string& host) {
  request.headers["host"] = host;
  return request;
}

class WebAppTest : public testing::TestWithParam<RequestRow> {};

TEST_P(WebAppTest, AnswersAsTheRowSays) {
  FakePort port;
  vekhost::WebApp app(port, {kHost, "localhost:8750"});
  WebReply reply = app.Handle(GetParam().request);
  EXPECT_EQ(reply.status, GetParam().status);
  EXPECT_EQ(reply.body.substr(0, GetParam().body.size()), GetParam().body) << reply.body;
  EXPECT_EQ(port.calls, GetParam().calls);
  if (reply.status != 200) {
    EXPECT_EQ(reply.type, "text/plain; charset=utf-8");
    EXPECT_EQ(reply.body.find('\n'), reply.body.size() - 1) << "one line";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Requests, WebAppTest,
    testing::Values(
        RequestRow{"the page", Get("/"), 200, "<!DOCTYPE html>", {}},
        RequestRow{"the page by name", Get("/index.html"), 200, "<!DOCTYPE html>", {}},
        RequestRow{"the script", Get("/page.js"), 200, "", {}},
        RequestRow{"HEAD reads too", {"HEAD", "/page.css", {}, {{"host", kHost}}, ""}, 200, "", {}},
        RequestRow{"no such page", Get("/secret"), 404, "no such page: /secret", {}},
        RequestRow{"no path out of the page", Get("/../CMakeLists.txt"), 404, "no such page", {}},
        RequestRow{
            "a page is read only", Post("/", ""), 405, "the page's files can only be read", {}},
        RequestRow{"the state", Get("/api/state"), 200, "{}", {"state none"}},
        RequestRow{
            "the journal from 7", Get("/api/state", {{"journal", "7"}}), 200, "{}", {"state 7"}},
        RequestRow{"a journal index that is no number reads all",
                   Get("/api/state", {{"journal", "x1"}}),
                   200,
                   "{}",
                   {"state 0"}},
        RequestRow{"a journal index too long reads all",
                   Get("/api/state", {{"journal", "1234567890"}}),
                   200,
                   "{}",
                   {"state 0"}},
        RequestRow{"an empty journal index reads all",
                   Get("/api/state", {{"journal", ""}}),
                   200,
                   "{}",
                   {"state 0"}},
        RequestRow{"nine digits are read",
                   Get("/api/state", {{"journal", "999999999"}}),
                   200,
                   "{}",
                   {"state 999999999"}},
        RequestRow{"the picture", Get("/api/drawing.svg"), 200, "<svg/>", {"svg"}},
        RequestRow{"the state is only read",
                   Post("/api/state", ""),
                   405,
                   "/api/state can only be read",
                   {}},
        RequestRow{"no such API", Get("/api/other"), 404, "no such API: /api/other", {}},
        RequestRow{"an event is posted", Get("/api/event"), 405, "/api/event takes POST", {}},
        RequestRow{"an event",
                   Post("/api/event", R"({"event": "pick width"})"),
                   200,
                   "{}",
                   {"event pick width"}},
        RequestRow{"an event from the page itself",
                   Post("/api/event", R"({"event": "end"})", "http://127.0.0.1:8750"),
                   200,
                   "{}",
                   {"event end"}},
        RequestRow{"an event from another site",
                   Post("/api/event", R"({"event": "end"})", "http://evil.example"),
                   403,
                   "refused: requests from http://evil.example",
                   {}},
        RequestRow{"quit", Post("/api/quit", ""), 200, "{}", {"quit"}},
        RequestRow{"quit from another site",
                   Post("/api/quit", "", "http://evil.example"),
                   403,
                   "refused",
                   {}},
        RequestRow{"a body that is no JSON",
                   Post("/api/event", "{\"event\": "),
                   400,
                   "the body is no JSON",
                   {}},
        RequestRow{"JSON without an event",
                   Post("/api/event", R"({"line": "end"})"),
                   400,
                   "expected a JSON object with an \"event\" text",
                   {}},
        RequestRow{"an event that is no text",
                   Post("/api/event", R"({"event": 7})"),
                   400,
                   "expected a JSON object",
                   {}},
        RequestRow{
            "a JSON list", Post("/api/event", R"(["end"])"), 400, "expected a JSON object", {}},
        RequestRow{"two lines",
                   Post("/api/event", R"({"event": "end\nend"})"),
                   400,
                   "an event is one line",
                   {}},
        RequestRow{"a carriage return",
                   Post("/api/event", R"({"event": "end\r"})"),
                   400,
                   "an event is one line",
                   {}},
        RequestRow{"a body of 64 KiB and one byte",
                   Post("/api/event", std::string(64 * 1024 + 1, ' ')),
                   413,
                   "refused: a body may have 65536 bytes at most",
                   {}},
        RequestRow{"another server's name",
                   WithHost(Get("/api/state"), "evil.example:8750"),
                   403,
                   "refused: the Host header \"evil.example:8750\" does not name this server",
                   {}},
        RequestRow{"no Host at all", WithHost(Get("/"), ""), 403, "refused: the Host header", {}},
        RequestRow{"localhost names this server",
                   WithHost(Get("/api/state"), "localhost:8750"),
                   200,
                   "{}",
                   {"state none"}}));

TEST(WebAppTest, ABodyOf64KiBIsTaken) {
  FakePort port;
  vekhost::WebApp app(port, {kHost});
  std::string body = R"({"event": "keyin )" + std::string(64 * 1024 - 19, 'x') + "\"}";
  ASSERT_EQ(body.size(), 64u * 1024);
  EXPECT_EQ(app.Handle(Post("/api/event", body)).status, 200);
}

TEST(WebAppTest, ThePageFilesHaveTheirTypes) {
  FakePort port;
  vekhost::WebApp app(port, {kHost});
  EXPECT_EQ(app.Handle(Get("/")).type, "text/html; charset=utf-8");
  EXPECT_EQ(app.Handle(Get("/page.js")).type, "text/javascript; charset=utf-8");
  EXPECT_EQ(app.Handle(Get("/page.css")).type, "text/css; charset=utf-8");
}

} // namespace
