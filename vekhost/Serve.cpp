#include "Serve.h"

#include "SessionQueue.h"

#include <httplib.h>

#include <csignal>
#include <iostream>
#include <pthread.h>
#include <thread>

namespace vekhost {

namespace {

WebRequest ToWebRequest(const httplib::Request& r) {
  WebRequest request{r.method, r.path, {}, {}, r.body};
  for (const auto& [name, value] : r.params) request.query.emplace(name, value);
  for (const auto& [name, value] : r.headers) {
    std::string lower = name;
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    request.headers.emplace(lower, value);
  }
  return request;
}

// Binds the port the options ask for: the one given, or the default and,
// when it is taken, the next free one.
int Bind(httplib::Server& server, const ServeOptions& options) {
  int last = options.portGiven ? options.port : options.port + kPortsTried - 1;
  for (int port = options.port; port <= last; ++port)
    if (server.bind_to_port(options.listen.c_str(), port)) return port;
  if (options.portGiven)
    throw InputError("--port " + std::to_string(options.port) + ": the port is taken (or " +
                     options.listen + " cannot be listened on)");
  throw InputError("no free port from " + std::to_string(options.port) + " to " +
                   std::to_string(last) + " on " + options.listen + " (--port chooses another)");
}

// The library's server, before it binds its port: bodies limited, and
// SO_REUSEADDR alone (the library's SO_REUSEPORT would let a second server
// share a port that is taken).
void SetUpSockets(httplib::Server& server) {
  server.set_payload_max_length(kMaxBody);
  server.set_socket_options([](socket_t socket) {
    int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
}

// Every method of every path answered through the app.
void Route(httplib::Server& server, WebApp& app) {
  auto handle = [&app](const httplib::Request& request, httplib::Response& response) {
    WebReply reply = app.Handle(ToWebRequest(request));
    response.status = reply.status;
    response.set_content(reply.body, reply.type.c_str());
    response.set_header("Cache-Control", "no-store");
    response.set_header("X-Content-Type-Options", "nosniff");
  };
  server.Get(".*", handle);
  server.Post(".*", handle);
  server.Put(".*", handle);
  server.Delete(".*", handle);
  server.Patch(".*", handle);
  server.Options(".*", handle);
}

// Ctrl-C and SIGTERM reach the thread that waits for them alone: every
// thread started after this inherits the mask.
sigset_t BlockStopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  return signals;
}

void PushStop(TaskQueue& queue) {
  Task stop;
  stop.kind = Task::Stop;
  queue.Push(std::move(stop));
}

// Stops the server; requests that come meanwhile are answered, so that no
// server thread waits for the plug-in's thread.
void StopServer(httplib::Server& server, std::thread& listener, TaskQueue& queue) {
  std::thread drainer([&] {
    for (Task task = queue.Pop(); task.kind != Task::Stop; task = queue.Pop())
      task.reply.set_value(TextReply(503, "the server is stopping"));
  });
  server.stop();
  listener.join();
  PushStop(queue);
  drainer.join();
}

} // namespace

void Serve(Drawing& drawing, Session& session, const ServeOptions& options,
           const std::function<void()>& finish) {
  sigset_t signals = BlockStopSignals();
  TaskQueue queue;
  QueuePort port(queue);
  httplib::Server server;
  SetUpSockets(server);
  int bound = Bind(server, options);
  WebApp app(port, {"127.0.0.1:" + std::to_string(bound), "localhost:" + std::to_string(bound),
                    options.listen + ":" + std::to_string(bound)});
  Route(server, app);
  std::thread listener([&] { server.listen_after_bind(); });
  std::thread signalWaiter([&] {
    int signal = 0;
    sigwait(&signals, &signal);
    PushStop(queue);
  });

  std::string address = options.listen == "0.0.0.0" ? "127.0.0.1" : options.listen;
  if (options.listen != "127.0.0.1")
    std::cout << "warning: listening on " << options.listen
              << ": other machines may reach this session\n";
  std::cout << "serving the session at http://" << address << ":" << bound
            << "/  (Ctrl-C or the page's Quit ends it)\n"
            << std::flush;
  QueueSource source(queue, drawing, session);
  session.Run(source);
  finish();
  source.Ended();
  if (!source.Stopped()) {
    std::cout << "the session has ended; the page still shows it (Ctrl-C stops the server)\n"
              << std::flush;
    while (source.ServeEnded()) {
    }
  }
  StopServer(server, listener, queue);
  signalWaiter.join();
}

} // namespace vekhost
