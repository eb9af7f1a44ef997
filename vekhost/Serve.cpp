#include "Serve.h"

#include "Interrupt.h"
#include "Language.h"
#include "ResultFiles.h"
#include "SessionQueue.h"

#include <boost/asio/ip/address.hpp>

#include <atomic>
#include <condition_variable>
#include <csignal>
#include <deque>
#include <ifaddrs.h>
#include <iostream>
#include <netdb.h>
#include <pthread.h>
#include <thread>

namespace vekhost {

namespace {

using boost::asio::ip::address;
using boost::asio::ip::make_address;

// An address as URLs and Host headers write it: IPv6 in brackets.
std::string HostForm(const address& ip) {
  return ip.is_v6() ? "[" + ip.to_string() + "]" : ip.to_string();
}

// Every address of this machine's interfaces.
std::vector<address> MachineAddresses() {
  std::vector<address> found;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return found;
  for (ifaddrs* a = list; a; a = a->ifa_next) {
    if (!a->ifa_addr || (a->ifa_addr->sa_family != AF_INET && a->ifa_addr->sa_family != AF_INET6))
      continue;
    char text[NI_MAXHOST];
    socklen_t size = a->ifa_addr->sa_family == AF_INET ? sizeof(sockaddr_in) : sizeof(sockaddr_in6);
    if (getnameinfo(a->ifa_addr, size, text, sizeof text, nullptr, 0, NI_NUMERICHOST) != 0)
      continue;
    std::string name = text;
    boost::system::error_code error;
    address ip = make_address(name.substr(0, name.find('%')), error); // no zone
    if (!error) found.push_back(ip);
  }
  freeifaddrs(list);
  return found;
}

struct Place {
  Access access;
  std::string url;
  bool remote = false;
};

// Who may use a server on this address and port, and the address to open.
// Loopback needs no token; any other address needs one, and a wildcard one
// takes a Host naming any address of the machine.
Place PlaceOf(const std::string& listen, int port) {
  address ip = make_address(listen);
  std::string suffix = ":" + std::to_string(port);
  Place place;
  place.access.hosts = {"localhost" + suffix, "127.0.0.1" + suffix, "[::1]" + suffix,
                        HostForm(ip) + suffix};
  place.remote = !ip.is_loopback();
  std::string shown = ip.is_unspecified() ? "127.0.0.1" : HostForm(ip);
  if (place.remote) {
    place.access.token = NewSessionMark();
    if (ip.is_unspecified())
      for (const address& machine : MachineAddresses()) {
        place.access.hosts.push_back(HostForm(machine) + suffix);
        if (shown == "127.0.0.1" && !machine.is_loopback() && machine.is_v4())
          shown = HostForm(machine);
      }
  }
  place.url =
      "http://" + shown + suffix + "/" + (place.remote ? "?token=" + place.access.token : "");
  return place;
}

// The threads that run the app for the server: a request that waits for the
// plug-in's thread holds a worker, not the server.
class Workers {
public:
  Workers(WebApp& app, int count) : app_(app) {
    for (int i = 0; i < count; ++i) threads_.emplace_back([this] { Work(); });
  }
  void Push(WebRequest request, Respond respond) {
    std::lock_guard<std::mutex> lock(mutex_);
    jobs_.emplace_back(std::move(request), std::move(respond));
    ready_.notify_one();
  }
  // Finishes the jobs taken and ends the threads.
  void Stop() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopped_ = true;
    }
    ready_.notify_all();
    for (std::thread& thread : threads_) thread.join();
  }

private:
  void Work() {
    for (;;) {
      std::unique_lock<std::mutex> lock(mutex_);
      ready_.wait(lock, [&] { return stopped_ || !jobs_.empty(); });
      if (jobs_.empty()) return;
      auto [request, respond] = std::move(jobs_.front());
      jobs_.pop_front();
      lock.unlock();
      respond(app_.Handle(request));
    }
  }
  WebApp& app_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::pair<WebRequest, Respond>> jobs_;
  bool stopped_ = false;
  std::vector<std::thread> threads_;
};

// Ctrl-C and SIGTERM reach the signal thread alone: every thread started
// after this inherits the mask.
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

// The first signal ends the session; another one ends the process at once.
void WaitForSignals(sigset_t signals, TaskQueue& queue, const std::atomic<bool>& done) {
  bool first = true;
  timespec tick{0, 100 * 1000 * 1000};
  while (!done) {
    if (sigtimedwait(&signals, nullptr, &tick) < 0) continue;
    if (!first) StopNow();
    first = false;
    PushStop(queue);
  }
}

} // namespace

std::unique_ptr<HttpServer> ListenForSession(const std::string& listen, int port,
                                             ServerLimits limits) {
  int first = port ? port : kDefaultPort, last = port ? port : kDefaultPort + kPortsTried - 1;
  return HttpServer::Listen(listen, first, last, limits);
}

void Serve(HttpServer& server, const std::string& listen, Drawing& drawing, Session& session,
           const std::function<void()>& finish) {
  sigset_t signals = BlockStopSignals();
  TaskQueue queue;
  DrawingParts parts(drawing, NewSessionMark().substr(0, 12));
  QueuePort port(queue, parts);
  Place place = PlaceOf(listen, server.Port());
  WebApp app(port, place.access);
  Workers workers(app, 2);
  server.Start([&](WebRequest request, Respond respond) {
    workers.Push(std::move(request), std::move(respond));
  });
  std::atomic<bool> done = false;
  std::thread signalWaiter(WaitForSignals, signals, std::ref(queue), std::cref(done));
  if (place.remote)
    std::cout << Fill(Tr("warning: listening on {}: other machines may reach this session; they "
                         "need the address below, which holds its token"),
                      {listen})
              << "\n";
  std::cout << Fill(Tr("serving the session at {}  (Ctrl-C or the page's Quit ends it)"),
                    {place.url})
            << "\n"
            << std::flush;
  QueueSource source(queue, drawing, session);
  session.Run(source);
  finish();
  source.Ended();
  if (!source.Stopped()) {
    std::cout << Tr("the session has ended; the page still shows it (Ctrl-C stops the server)")
              << "\n"
              << std::flush;
    while (source.ServeEnded()) {
    }
  }
  // Requests still waiting for the plug-in's thread are answered, so that
  // no worker waits for it.
  std::thread drainer([&] {
    for (Task task = queue.Pop(); task.kind != Task::Stop; task = queue.Pop())
      task.Answer(RefusalReply(503, "stopping", "the server is stopping"));
  });
  server.Stop();
  workers.Stop();
  PushStop(queue);
  drainer.join();
  done = true;
  signalWaiter.join();
}

} // namespace vekhost
