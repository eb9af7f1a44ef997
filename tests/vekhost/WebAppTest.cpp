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
  WebReply Changes(uint64_t since) override {
    calls.push_back("changes " + std::to_string(since));
    return {200, "application/json", "{}"};
  }
  // Two parts.
  vekhost::StoredBody DrawingPart(size_t index, bool gzip) override {
    calls.push_back("part " + std::to_string(index) + (gzip ? " gzip" : ""));
    if (index > 1) return {};
    return {"\"tag\"", std::make_shared<const std::string>(gzip ? "GZ" : "{\"part\": 0}"), gzip};
  }
  WebReply Event(const std::string& line, std::optional<uint64_t> since) override {
    calls.push_back("event " + line + (since ? " since " + std::to_string(*since) : ""));
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
  WebRequest request;
  request.method = "GET";
  request.path = path;
  request.query = std::move(query);
  request.headers = {{"host", kHost}};
  return request;
}

WebRequest Post(const std::string& path, const std::string& body, const std::string& origin = "") {
  WebRequest request = Get(path);
  request.method = "POST";
  request.body = body;
  if (!origin.empty()) request.headers["origin"] = origin;
  return request;
}

WebRequest With(WebRequest request, const std::string& header, const std::string& value) {
  request.headers[header] = value;
  return request;
}

WebRequest WithHost(WebRequest request, const std::string& host) {
  return With(std::move(request), "host", host);
}

WebRequest Repeating(WebRequest request, const std::string& header) {
  request.repeated.insert(header);
  return request;
}

WebRequest Head(const std::string& path) {
  WebRequest request = Get(path);
  request.method = "HEAD";
  return request;
}

class WebAppTest : public testing::TestWithParam<RequestRow> {};

TEST_P(WebAppTest, AnswersAsTheRowSays) {
  FakePort port;
  vekhost::WebApp app(port, {{kHost, "localhost:8750"}, ""});
  WebReply reply = app.Handle(GetParam().request);
  EXPECT_EQ(reply.status, GetParam().status);
  EXPECT_EQ(reply.Body().substr(0, GetParam().body.size()), GetParam().body) << reply.Body();
  EXPECT_EQ(port.calls, GetParam().calls);
  if (reply.status != 200 && reply.status != 304) {
    EXPECT_EQ(reply.type, "text/plain; charset=utf-8");
    EXPECT_EQ(reply.Body().find('\n'), reply.Body().size() - 1) << "one line";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Requests, WebAppTest,
    testing::Values(
        RequestRow{"the page", Get("/"), 200, "<!DOCTYPE html>", {}},
        RequestRow{"the page by name", Get("/index.html"), 200, "<!DOCTYPE html>", {}},
        RequestRow{"the script", Get("/page.js"), 200, "", {}},
        RequestRow{"HEAD reads too", Head("/page.css"), 200, "", {}},
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
                   Get("/api/state", {{"journal", "1234567890123456789"}}),
                   200,
                   "{}",
                   {"state 0"}},
        RequestRow{"an empty journal index reads all",
                   Get("/api/state", {{"journal", ""}}),
                   200,
                   "{}",
                   {"state 0"}},
        RequestRow{"eighteen digits are read",
                   Get("/api/state", {{"journal", "999999999999999999"}}),
                   200,
                   "{}",
                   {"state 999999999999999999"}},
        RequestRow{"the changes since a version",
                   Get("/api/changes", {{"since", "12"}}),
                   200,
                   "{}",
                   {"changes 12"}},
        RequestRow{"the changes since version 0",
                   Get("/api/changes", {{"since", "0"}}),
                   200,
                   "{}",
                   {"changes 0"}},
        RequestRow{
            "the changes since no version", Get("/api/changes"), 400, "expected ?since=V", {}},
        RequestRow{"the changes since a version that is no number",
                   Get("/api/changes", {{"since", "-1"}}),
                   400,
                   "expected ?since=V",
                   {}},
        RequestRow{"the changes are only read",
                   Post("/api/changes", ""),
                   405,
                   "/api/changes can only be read",
                   {}},
        RequestRow{"a part of the drawing",
                   Get("/api/drawing", {{"part", "1"}}),
                   200,
                   "{\"part\": 0}",
                   {"part 1"}},
        RequestRow{"a part past the last",
                   Get("/api/drawing", {{"part", "2"}}),
                   404,
                   "the drawing has no part 2",
                   {"part 2"}},
        RequestRow{"the drawing without a part", Get("/api/drawing"), 400, "expected ?part=K", {}},
        RequestRow{"the drawing is only read",
                   Post("/api/drawing", ""),
                   405,
                   "/api/drawing can only be read",
                   {}},
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
        RequestRow{"an event with the page's version",
                   Post("/api/event", R"({"event": "pick width", "since": 4})"),
                   200,
                   "{}",
                   {"event pick width since 4"}},
        RequestRow{"an event with a version that is no whole number",
                   Post("/api/event", R"({"event": "end", "since": -4})"),
                   400,
                   "\"since\" is the version of the state the page has",
                   {}},
        RequestRow{"an event with a version as text",
                   Post("/api/event", R"({"event": "end", "since": "4"})"),
                   400,
                   "\"since\" is the version",
                   {}},
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
                   {"state none"}},
        RequestRow{"two Hosts",
                   Repeating(Get("/api/state"), "host"),
                   400,
                   "refused: a request names one Host",
                   {}},
        RequestRow{"two Origins",
                   Repeating(Post("/api/event", R"({"event": "end"})"), "origin"),
                   403,
                   "refused: a request names one Origin at most",
                   {}},
        RequestRow{"the API from another site",
                   With(Get("/api/state"), "sec-fetch-site", "cross-site"),
                   403,
                   "refused: requests from another site (cross-site) may not use the API",
                   {}},
        RequestRow{"the API from another port of this machine",
                   With(Post("/api/quit", ""), "sec-fetch-site", "same-site"),
                   403,
                   "refused: requests from another site (same-site)",
                   {}},
        RequestRow{"the API from the page itself",
                   With(Get("/api/state"), "sec-fetch-site", "same-origin"),
                   200,
                   "{}",
                   {"state none"}},
        RequestRow{"the API typed into the address bar",
                   With(Get("/api/state"), "sec-fetch-site", "none"),
                   200,
                   "{}",
                   {"state none"}},
        RequestRow{"the page from a link elsewhere",
                   With(Get("/"), "sec-fetch-site", "cross-site"),
                   200,
                   "<!DOCTYPE html>",
                   {}},
        RequestRow{"an event with a NUL",
                   Post("/api/event", R"({"event": "keyin a\u0000b"})"),
                   400,
                   "an event holds no control characters",
                   {}},
        RequestRow{"an event with an escape",
                   Post("/api/event", R"({"event": "keyin \u001b[2J"})"),
                   400,
                   "an event holds no control characters",
                   {}},
        RequestRow{"an event with DEL",
                   Post("/api/event", R"({"event": "keyin \u007f"})"),
                   400,
                   "an event holds no control characters",
                   {}},
        RequestRow{"a part the page has",
                   With(Get("/api/drawing", {{"part", "0"}}), "if-none-match", "\"tag\""),
                   304,
                   "",
                   {"part 0"}},
        RequestRow{"a part compressed",
                   With(Get("/api/drawing", {{"part", "0"}}), "accept-encoding", "gzip, deflate"),
                   200,
                   "GZ",
                   {"part 0 gzip"}}));

// Beyond loopback every request needs the session's token: from the address
// (then kept in a cookie), the cookie, or a bearer; with the wrong one, or
// none, nothing reaches the session.
TEST(WebAppTest, ASessionWithATokenNeedsIt) {
  FakePort port;
  vekhost::WebApp app(port, {{kHost}, "s3cret"});
  EXPECT_EQ(app.Handle(Get("/api/state")).status, 401);
  EXPECT_EQ(app.Handle(Get("/")).Body(),
            "refused: this session needs its token: open the address vekhost printed\n");
  EXPECT_EQ(app.Handle(Get("/api/state", {{"token", "wrong"}})).status, 401);
  EXPECT_EQ(app.Handle(With(Get("/api/state"), "cookie", "vekhost-token=s3cretx")).status, 401);
  EXPECT_TRUE(port.calls.empty());
  WebReply first = app.Handle(Get("/", {{"token", "s3cret"}}));
  EXPECT_EQ(first.status, 200);
  ASSERT_EQ(first.headers.size(), 1u);
  EXPECT_EQ(first.headers[0].first, "Set-Cookie");
  EXPECT_EQ(first.headers[0].second, "vekhost-token=s3cret; Path=/; HttpOnly; SameSite=Strict");
  EXPECT_EQ(app.Handle(With(Get("/api/state"), "cookie", "a=1; vekhost-token=s3cret; b=2")).status,
            200);
  EXPECT_EQ(app.Handle(With(Get("/api/state"), "authorization", "Bearer s3cret")).status, 200);
  EXPECT_EQ(app.Handle(With(Get("/api/state"), "authorization", "Basic s3cret")).status, 401);
  EXPECT_TRUE(app.Handle(With(Get("/"), "cookie", "vekhost-token=s3cret")).headers.empty())
      << "the cookie is set once, from the address";
}

TEST(WebAppTest, EveryAnswerCarriesTheSafetyHeaders) {
  std::map<std::string, std::string> api, drawing;
  for (const auto& [name, value] : vekhost::SafetyHeaders("/api/state")) api[name] = value;
  for (const auto& [name, value] : vekhost::SafetyHeaders("/api/drawing")) drawing[name] = value;
  EXPECT_EQ(api["Content-Security-Policy"], "default-src 'self'; frame-ancestors 'none'");
  EXPECT_EQ(api["X-Frame-Options"], "DENY");
  EXPECT_EQ(api["X-Content-Type-Options"], "nosniff");
  EXPECT_EQ(api["Cache-Control"], "no-store");
  EXPECT_EQ(drawing["Cache-Control"], "no-cache") << "looked at again by its tag";
}

TEST(WebAppTest, APartOfTheDrawingCarriesItsTag) {
  FakePort port;
  vekhost::WebApp app(port, {{kHost}, ""});
  WebReply reply = app.Handle(Get("/api/drawing", {{"part", "0"}}));
  EXPECT_EQ(reply.type, "application/json");
  EXPECT_EQ(reply.headers, (std::vector<std::pair<std::string, std::string>>{
                               {"ETag", "\"tag\""}, {"Vary", "Accept-Encoding"}}));
  EXPECT_EQ(
      app.Handle(With(Get("/api/drawing", {{"part", "0"}}), "if-none-match", "\"old\"")).status,
      200);
}

TEST(WebAppTest, ABodyOf64KiBIsTaken) {
  FakePort port;
  vekhost::WebApp app(port, {{kHost}, ""});
  std::string body = R"({"event": "keyin )" + std::string(64 * 1024 - 19, 'x') + "\"}";
  ASSERT_EQ(body.size(), 64u * 1024);
  EXPECT_EQ(app.Handle(Post("/api/event", body)).status, 200);
}

TEST(WebAppTest, ThePageFilesHaveTheirTypes) {
  FakePort port;
  vekhost::WebApp app(port, {{kHost}, ""});
  EXPECT_EQ(app.Handle(Get("/")).type, "text/html; charset=utf-8");
  EXPECT_EQ(app.Handle(Get("/page.js")).type, "text/javascript; charset=utf-8");
  EXPECT_EQ(app.Handle(Get("/page.css")).type, "text/css; charset=utf-8");
}

} // namespace
