// The HTTP server in process, with limits of about a second and clients on
// raw sockets: what it refuses and how, how long it waits, how many it
// holds, and that it stops whatever clients do.
#include "HttpServer.h"
#include "Drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

vekhost::ServerLimits ShortLimits() {
  vekhost::ServerLimits limits;
  limits.request = milliseconds(1000);
  limits.idle = milliseconds(600);
  limits.write = milliseconds(1000);
  limits.connections = 8;
  return limits;
}

// A client on a raw socket.
class Client {
public:
  explicit Client(int port) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~Client() { close(fd_); }
  bool Send(const std::string& bytes) {
    return connected_ &&
           send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == ssize_t(bytes.size());
  }
  void CloseSending() { shutdown(fd_, SHUT_WR); }
  // What arrives until the server closes or nothing comes for a while.
  std::string Read(milliseconds quiet = milliseconds(3000)) {
    std::string got;
    char buffer[65536];
    pollfd wait{fd_, POLLIN, 0};
    while (poll(&wait, 1, int(quiet.count())) > 0) {
      ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
      if (n <= 0) {
        closed_ = true;
        break;
      }
      got.append(buffer, size_t(n));
      if (Whole(got)) break;
    }
    return got;
  }
  // Whether the server has closed the connection (within the wait).
  bool Closed(milliseconds wait = milliseconds(3000)) {
    if (closed_) return true;
    char byte;
    pollfd ready{fd_, POLLIN, 0};
    return poll(&ready, 1, int(wait.count())) > 0 && recv(fd_, &byte, 1, 0) <= 0;
  }

private:
  // A whole answer: its head and as many bytes as Content-Length says.
  static bool Whole(const std::string& got) {
    size_t end = got.find("\r\n\r\n");
    if (end == std::string::npos) return false;
    size_t at = got.find("Content-Length: ");
    size_t length = at < end ? std::stoul(got.substr(at + 16)) : 0;
    return got.size() >= end + 4 + length;
  }
  int fd_;
  bool connected_ = false, closed_ = false;
};

std::string Get(const std::string& target = "/", const std::string& more = "") {
  return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + more + "\r\n";
}

class HttpServerTest : public testing::Test {
protected:
  void Start(vekhost::ServerLimits limits = ShortLimits()) {
    server_ = vekhost::HttpServer::Listen("127.0.0.1", 0, 0, limits);
    server_->Start([this](vekhost::WebRequest request, vekhost::Respond respond) {
      ++requests_;
      std::string repeated;
      for (const std::string& name : request.repeated) repeated += name + ";";
      std::string query;
      for (const auto& [name, value] : request.query) query += name + "=" + value + ";";
      respond(vekhost::TextReply(200, request.method + " " + request.path + " [" + query + "] " +
                                          std::to_string(request.body.size()) + " " + repeated));
    });
  }
  void TearDown() override {
    if (server_) server_->Stop();
  }
  int Port() const { return server_->Port(); }
  std::unique_ptr<vekhost::HttpServer> server_;
  std::atomic<int> requests_ = 0;
};

TEST_F(HttpServerTest, AnswersARequestWithTheSafetyHeaders) {
  Start();
  Client client(Port());
  client.Send(Get("/page?journal=3&token=a%20b+c", "Host: again\r\n"));
  std::string answer = client.Read();
  EXPECT_EQ(answer.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << answer;
  EXPECT_NE(answer.find("GET /page [journal=3;token=a b c;] 0 host;"), std::string::npos) << answer;
  for (const char* header : {"Content-Security-Policy: default-src 'self'; frame-ancestors 'none'",
                             "X-Frame-Options: DENY", "X-Content-Type-Options: nosniff",
                             "Cache-Control: no-store", "Content-Type: text/plain; charset=utf-8"})
    EXPECT_NE(answer.find(header), std::string::npos) << header;
}

struct RefusalRow {
  const char* what;
  std::string bytes;
  std::string status, line;
};

void PrintTo(const RefusalRow& row, std::ostream* out) { *out << row.what; }

class RefusalTest : public HttpServerTest, public testing::WithParamInterface<RefusalRow> {};

// Each refusal: its status and line, the safety headers, the connection
// closed, the handler never asked.
TEST_P(RefusalTest, RefusesInOneLineAndCloses) {
  Start();
  Client client(Port());
  client.Send(GetParam().bytes);
  std::string answer = client.Read();
  EXPECT_EQ(answer.substr(0, answer.find("\r\n")), "HTTP/1.1 " + GetParam().status) << answer;
  EXPECT_EQ(answer.substr(answer.find("\r\n\r\n") + 4), GetParam().line + "\n");
  EXPECT_NE(answer.find("X-Frame-Options: DENY"), std::string::npos);
  EXPECT_NE(answer.find("Connection: close"), std::string::npos);
  EXPECT_TRUE(client.Closed());
  EXPECT_EQ(requests_, 0);
}

std::string Lines(int count) {
  std::string lines;
  for (int i = 0; i < count; ++i) lines += "X-" + std::to_string(i) + ": a\r\n";
  return lines;
}

INSTANTIATE_TEST_SUITE_P(
    Limits, RefusalTest,
    testing::Values(
        RefusalRow{"a head line that never ends",
                   "GET / HTTP/1.1\r\nX-A: " + std::string(20000, 'a'),
                   "431 Request Header Fields Too Large",
                   "refused: a request head has 16384 bytes at most"},
        RefusalRow{"a URL too long", Get("/" + std::string(17000, 'u')),
                   "431 Request Header Fields Too Large",
                   "refused: a request head has 16384 bytes at most"},
        RefusalRow{"101 header lines", Get("/", Lines(100)), "431 Request Header Fields Too Large",
                   "refused: a request has 100 header lines at most"},
        RefusalRow{"a body over 64 KiB by its length",
                   "POST / HTTP/1.1\r\nHost: h\r\nContent-Length: 65537\r\n\r\n" +
                       std::string(65537, 'b'),
                   "413 Payload Too Large", "refused: a body may have 65536 bytes at most"},
        RefusalRow{"a chunked body over 64 KiB",
                   "POST / HTTP/1.1\r\nHost: h\r\nTransfer-Encoding: chunked\r\n\r\n" +
                       [] {
                         std::string chunks;
                         for (int i = 0; i < 10; ++i)
                           chunks += "2000\r\n" + std::string(8192, 'c') + "\r\n";
                         return chunks;
                       }(),
                   "413 Payload Too Large", "refused: a body may have 65536 bytes at most"},
        RefusalRow{"no HTTP at all", "hello\r\n\r\n", "400 Bad Request",
                   "refused: the request cannot be read (bad method)"}));

// A body that never ends: refused once 64 KiB of it came, the connection
// closed, so that the rest goes nowhere (the client's writes fail).
TEST_F(HttpServerTest, AChunkedBodyWithoutEndIsRefusedOnceItIsTooLarge) {
  Start();
  Client client(Port());
  client.Send("POST / HTTP/1.1\r\nHost: h\r\nTransfer-Encoding: chunked\r\n\r\n");
  const std::string chunk = "1000\r\n" + std::string(4096, 'c') + "\r\n";
  for (int i = 0; i < 20; ++i) client.Send(chunk);
  EXPECT_NE(client.Read().find("413 Payload Too Large"), std::string::npos);
  size_t sent = 0;
  while (sent < (64u << 20) && client.Send(chunk)) sent += chunk.size();
  EXPECT_LT(sent, 64u << 20) << "the server closed the connection";
}

// The deadline counts from a request's first byte: a head that trickles in
// is cut off however often a byte comes.
TEST_F(HttpServerTest, ARequestMustArriveWholeWithinItsDeadline) {
  Start();
  Client client(Port());
  auto start = Clock::now();
  std::string head = Get();
  bool cut = false;
  for (size_t i = 0; i < head.size() - 1 && !cut; ++i) {
    cut = !client.Send(head.substr(i, 1)) || client.Closed(milliseconds(150));
  }
  auto took = Clock::now() - start;
  EXPECT_TRUE(cut || client.Closed());
  EXPECT_LT(took, milliseconds(1800));
  EXPECT_GT(took, milliseconds(900));
  EXPECT_EQ(requests_, 0);
}

TEST_F(HttpServerTest, AnIdleConnectionIsClosedAfterAWhile) {
  Start();
  Client client(Port());
  client.Send(Get());
  EXPECT_NE(client.Read().find("200 OK"), std::string::npos);
  auto start = Clock::now();
  EXPECT_TRUE(client.Closed(milliseconds(2000)));
  EXPECT_LT(Clock::now() - start, milliseconds(1200));
}

// At the cap, the connection idle longest makes room for a new one.
TEST_F(HttpServerTest, AtTheCapTheIdlestConnectionMakesRoom) {
  vekhost::ServerLimits limits = ShortLimits();
  limits.idle = milliseconds(5000);
  limits.connections = 4;
  Start(limits);
  std::vector<std::unique_ptr<Client>> idle;
  for (int i = 0; i < 4; ++i) {
    idle.push_back(std::make_unique<Client>(Port()));
    std::this_thread::sleep_for(milliseconds(30));
  }
  Client page(Port());
  page.Send(Get());
  EXPECT_NE(page.Read(milliseconds(1000)).find("200 OK"), std::string::npos);
  EXPECT_TRUE(idle[0]->Closed(milliseconds(500))) << "the idlest";
  EXPECT_FALSE(idle[3]->Closed(milliseconds(100)));
}

// Connections in the middle of a request are not closed to make room; the
// page waits until their deadline has passed.
TEST_F(HttpServerTest, SlowConnectionsHoldThePageNoLongerThanTheirDeadline) {
  vekhost::ServerLimits limits = ShortLimits();
  limits.connections = 4;
  Start(limits);
  std::vector<std::unique_ptr<Client>> slow;
  for (int i = 0; i < 6; ++i) {
    slow.push_back(std::make_unique<Client>(Port()));
    slow.back()->Send("G");
  }
  auto start = Clock::now();
  Client page(Port());
  page.Send(Get());
  EXPECT_NE(page.Read(milliseconds(4000)).find("200 OK"), std::string::npos);
  EXPECT_LT(Clock::now() - start, milliseconds(2500));
}

TEST_F(HttpServerTest, PipelinedRequestsAreAnsweredInOrder) {
  Start();
  Client client(Port());
  client.Send(Get("/first") + Get("/second") + Get("/third"));
  std::string answers;
  for (int i = 0; i < 3; ++i) answers += client.Read();
  size_t first = answers.find("GET /first"), second = answers.find("GET /second"),
         third = answers.find("GET /third");
  EXPECT_LT(first, second);
  EXPECT_LT(second, third);
  EXPECT_NE(third, std::string::npos) << answers;
}

TEST_F(HttpServerTest, AClientThatHalfClosesIsAnswered) {
  Start();
  Client client(Port());
  client.Send("POST /api/event HTTP/1.1\r\nHost: h\r\nContent-Length: 5\r\n\r\nhello");
  client.CloseSending();
  EXPECT_NE(client.Read().find("POST /api/event [] 5"), std::string::npos);
  EXPECT_EQ(requests_, 1);
}

TEST_F(HttpServerTest, AKeptAliveConnectionIsAnsweredAtOnce) {
  Start();
  Client client(Port());
  std::vector<double> times;
  for (int i = 0; i < 20; ++i) {
    auto start = Clock::now();
    client.Send(Get());
    ASSERT_NE(client.Read().find("200 OK"), std::string::npos);
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::nth_element(times.begin(), times.begin() + 10, times.end());
  EXPECT_LT(times[10], 20.0) << "the median, in ms";
}

TEST_F(HttpServerTest, StopsWhateverClientsDo) {
  Start();
  Client trickling(Port()), idle(Port());
  trickling.Send("GE");
  std::this_thread::sleep_for(milliseconds(50));
  auto start = Clock::now();
  server_->Stop();
  EXPECT_LT(Clock::now() - start, milliseconds(500));
  EXPECT_TRUE(trickling.Closed(milliseconds(500)));
  EXPECT_TRUE(idle.Closed(milliseconds(500)));
  server_.reset();
}

TEST(HttpServerListenTest, NamesWhatItCannotListenOn) {
  auto failure = [](const std::string& address, int first, int last) {
    try {
      vekhost::HttpServer::Listen(address, first, last);
    } catch (const vekhost::InputError& error) {
      return std::string(error.what());
    }
    return std::string("listening");
  };
  EXPECT_EQ(failure("nonsense", 1, 1),
            "--listen nonsense: not an IP address (such as 127.0.0.1 or ::1)");
  EXPECT_EQ(
      failure("192.0.2.1", 0, 0).rfind("--listen 192.0.2.1: this machine has no such address", 0),
      0u);
  auto taken = vekhost::HttpServer::Listen("127.0.0.1", 0, 0);
  int port = taken->Port();
  EXPECT_EQ(failure("127.0.0.1", port, port),
            "--port " + std::to_string(port) + ": the port is taken on 127.0.0.1");
  EXPECT_EQ(failure("127.0.0.1", port, port), failure("127.0.0.1", port, port));
}

} // namespace
