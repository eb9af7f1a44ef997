#include "HttpServer.h"

#include "Drawing.h"

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include <list>
#include <thread>

namespace vekhost {

namespace {

namespace beast = boost::beast;
namespace http = beast::http;
namespace net = boost::asio;
using tcp = net::ip::tcp;
using Clock = std::chrono::steady_clock;

// How long a new connection has to send its first bytes before it counts as
// idle, that is, as one to close when others need room.
const std::chrono::milliseconds kFirstBytes(100);

int FromHex(char c) {
  return c >= '0' && c <= '9'   ? c - '0'
         : c >= 'a' && c <= 'f' ? c - 'a' + 10
         : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                : -1;
}

std::string Decoded(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    int high = i + 2 < text.size() && text[i] == '%' ? FromHex(text[i + 1]) : -1;
    int low = high >= 0 ? FromHex(text[i + 2]) : -1;
    if (low >= 0) {
      out += char(high * 16 + low);
      i += 2;
    } else {
      out += text[i] == '+' ? ' ' : text[i];
    }
  }
  return out;
}

WebRequest ToWebRequest(const http::request<http::string_body>& r) {
  WebRequest request;
  request.method = std::string(r.method_string());
  std::string_view target(r.target().data(), r.target().size());
  size_t question = target.find('?');
  request.path = std::string(target.substr(0, question));
  if (question != std::string_view::npos) {
    std::string_view query = target.substr(question + 1);
    while (!query.empty()) {
      std::string_view pair = query.substr(0, query.find('&'));
      query.remove_prefix(std::min(query.size(), pair.size() + 1));
      size_t equals = pair.find('=');
      request.query.emplace(Decoded(pair.substr(0, equals)),
                            equals == std::string_view::npos ? ""
                                                             : Decoded(pair.substr(equals + 1)));
    }
  }
  for (const auto& field : r) {
    std::string name(field.name_string());
    for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (!request.headers.emplace(name, std::string(field.value())).second)
      request.repeated.insert(name);
  }
  request.body = r.body();
  return request;
}

class Server;

// One client's connection: reads its requests one after another (pipelined
// ones in order), hands each to the handler, writes each answer.
class Connection : public std::enable_shared_from_this<Connection> {
public:
  Connection(tcp::socket socket, const ServerLimits& limits, const Handler& handler)
      : stream_(std::move(socket)), limits_(limits), handler_(handler),
        buffer_(limits.headBytes + limits.bodyBytes + 4096) {
    beast::error_code ignored;
    stream_.socket().set_option(tcp::no_delay(true), ignored);
  }
  void Start() { WaitForRequest(); }
  // Waiting for a request's first byte, and since when.
  bool Idle() const { return idle_; }
  Clock::time_point IdleSince() const { return idleSince_; }
  void Close() {
    beast::error_code ignored;
    stream_.socket().shutdown(tcp::socket::shutdown_both, ignored);
    stream_.socket().close(ignored);
  }

private:
  void WaitForRequest() {
    if (buffer_.size() > 0) return ReadHead(); // pipelined: it has begun
    idle_ = true;
    idleSince_ = Clock::now();
    stream_.expires_after(limits_.idle);
    stream_.async_read_some(buffer_.prepare(4096),
                            [self = shared_from_this()](beast::error_code error, size_t read) {
                              self->idle_ = false;
                              if (error) return self->Close();
                              self->buffer_.commit(read);
                              self->ReadHead();
                            });
  }

  // The deadline counts from the request's first byte, for head and body.
  void ReadHead() {
    stream_.expires_after(limits_.request);
    parser_.emplace();
    parser_->header_limit(uint32_t(limits_.headBytes));
    parser_->body_limit(limits_.bodyBytes);
    http::async_read_header(
        stream_, buffer_, *parser_,
        [self = shared_from_this()](beast::error_code error, size_t) { self->OnHead(error); });
  }

  void OnHead(beast::error_code error) {
    if (error) return Refuse(error);
    const auto& head = parser_->get();
    if (size_t(std::distance(head.begin(), head.end())) > limits_.headLines)
      return Refuse(431, "refused: a request has " + std::to_string(limits_.headLines) +
                             " header lines at most");
    http::async_read(
        stream_, buffer_, *parser_,
        [self = shared_from_this()](beast::error_code error, size_t) { self->OnBody(error); });
  }

  void OnBody(beast::error_code error) {
    if (error) return Refuse(error);
    stream_.expires_never();
    head_ = parser_->get().method() == http::verb::head;
    keepAlive_ = parser_->get().keep_alive();
    WebRequest request = ToWebRequest(parser_->get());
    path_ = request.path;
    auto self = shared_from_this();
    handler_(std::move(request), [self](WebReply reply) {
      net::post(self->stream_.get_executor(),
                [self, reply = std::move(reply)]() mutable { self->Write(std::move(reply)); });
    });
  }

  // The reader's error as one line, and the connection closed after it.
  void Refuse(beast::error_code error) {
    if (error == http::error::header_limit || error == http::error::buffer_overflow)
      return Refuse(431, "refused: a request head has " + std::to_string(limits_.headBytes) +
                             " bytes at most");
    if (error == http::error::body_limit)
      return Refuse(413, "refused: a body may have " + std::to_string(limits_.bodyBytes) +
                             " bytes at most");
    if (error == beast::error::timeout)
      return Refuse(408, "refused: a request must arrive whole within " +
                             std::to_string(limits_.request.count() / 1000.0).substr(0, 4) + " s");
    if (error == http::error::end_of_stream || error == net::error::eof ||
        error == net::error::operation_aborted || error == net::error::connection_reset)
      return Close();
    Refuse(400, "refused: the request cannot be read (" + error.message() + ")");
  }

  void Refuse(int status, const std::string& line) {
    keepAlive_ = false;
    head_ = false;
    path_.clear();
    Write(TextReply(status, line));
  }

  void Write(WebReply reply) {
    auto response = std::make_shared<http::response<http::span_body<const char>>>();
    keep_ =
        reply.shared ? reply.shared : std::make_shared<const std::string>(std::move(reply.body));
    response->result(unsigned(reply.status));
    response->version(11);
    response->set(http::field::content_type, reply.type);
    for (const auto& [name, value] : SafetyHeaders(path_)) response->set(name, value);
    for (const auto& [name, value] : reply.headers) response->insert(name, value);
    response->keep_alive(keepAlive_);
    response->content_length(keep_->size());
    if (!head_ && reply.status != 304) response->body() = {keep_->data(), keep_->size()};
    stream_.expires_after(limits_.write);
    http::async_write(stream_, *response,
                      [self = shared_from_this(), response](beast::error_code error, size_t) {
                        self->keep_.reset();
                        if (error || !response->keep_alive()) return self->Close();
                        self->WaitForRequest();
                      });
  }

  beast::tcp_stream stream_;
  const ServerLimits& limits_;
  const Handler& handler_;
  beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::string_body>> parser_;
  std::shared_ptr<const std::string> keep_;
  std::string path_;
  bool head_ = false, keepAlive_ = false, idle_ = false;
  Clock::time_point idleSince_;
};

class Server : public HttpServer {
public:
  Server(std::unique_ptr<net::io_context> context, tcp::acceptor acceptor, ServerLimits limits)
      : context_(std::move(context)), acceptor_(std::move(acceptor)), limits_(limits) {}
  ~Server() override { Stop(); }
  int Port() const override { return acceptor_.local_endpoint().port(); }
  void Start(Handler handler) override {
    handler_ = std::move(handler);
    Accept();
    thread_ = std::thread([this] { context_->run(); });
  }
  void Stop() override {
    if (!thread_.joinable()) return;
    net::post(*context_, [this] {
      beast::error_code ignored;
      acceptor_.close(ignored);
      for (auto& weak : connections_)
        if (auto connection = weak.lock()) connection->Close();
      context_->stop();
    });
    thread_.join();
  }

private:
  // Takes the next connection when there is room for it: at the cap, the
  // connection waiting longest for its next request makes room; when every
  // one is in the middle of a request, newcomers wait in the listen queue
  // until one ends (each ends by its deadline at the latest).
  void Accept() {
    connections_.remove_if([](const std::weak_ptr<Connection>& c) { return c.expired(); });
    if (connections_.size() >= limits_.connections && !CloseIdlest()) {
      pause_.expires_after(std::chrono::milliseconds(20));
      pause_.async_wait([this](beast::error_code error) {
        if (!error) Accept();
      });
      return;
    }
    acceptor_.async_accept(*context_, [this](beast::error_code error, tcp::socket socket) {
      if (error == net::error::operation_aborted) return;
      if (!error) Admit(std::move(socket));
      Accept();
    });
  }

  // A connection idle for a moment at least: one just taken may not have
  // sent its first bytes yet.
  bool CloseIdlest() {
    std::shared_ptr<Connection> idlest;
    Clock::time_point moment = Clock::now() - kFirstBytes;
    for (auto& weak : connections_)
      if (auto c = weak.lock(); c && c->Idle() && c->IdleSince() <= moment &&
                                (!idlest || c->IdleSince() < idlest->IdleSince()))
        idlest = c;
    if (idlest) idlest->Close();
    return idlest != nullptr;
  }

  void Admit(tcp::socket socket) {
    auto connection = std::make_shared<Connection>(std::move(socket), limits_, handler_);
    connections_.push_back(connection);
    connection->Start();
  }

  std::unique_ptr<net::io_context> context_;
  tcp::acceptor acceptor_;
  ServerLimits limits_;
  Handler handler_;
  std::list<std::weak_ptr<Connection>> connections_;
  net::steady_timer pause_{*context_};
  std::thread thread_;
};

} // namespace

std::unique_ptr<HttpServer> HttpServer::Listen(const std::string& address, int first, int last,
                                               ServerLimits limits) {
  beast::error_code error;
  net::ip::address ip = net::ip::make_address(address, error);
  if (error)
    throw InputError("--listen " + address + ": not an IP address (such as 127.0.0.1 or ::1)");
  auto context = std::make_unique<net::io_context>(1);
  for (int port = first; port <= last; ++port) {
    tcp::acceptor acceptor(*context);
    tcp::endpoint endpoint(ip, static_cast<unsigned short>(port));
    acceptor.open(endpoint.protocol(), error);
    if (!error) acceptor.set_option(net::socket_base::reuse_address(true), error);
    if (!error) acceptor.bind(endpoint, error);
    if (!error) acceptor.listen(net::socket_base::max_listen_connections, error);
    if (!error) return std::make_unique<Server>(std::move(context), std::move(acceptor), limits);
    if (error == boost::system::errc::address_not_available ||
        error == boost::system::errc::address_family_not_supported)
      throw InputError("--listen " + address + ": this machine has no such address (" +
                       error.message() + ")");
    if (error != net::error::address_in_use)
      throw InputError("--listen " + address + ": cannot listen (" + error.message() + ")");
  }
  if (first == last)
    throw InputError("--port " + std::to_string(first) + ": the port is taken on " + address);
  throw InputError("no free port from " + std::to_string(first) + " to " + std::to_string(last) +
                   " on " + address + " (--port chooses another)");
}

} // namespace vekhost
