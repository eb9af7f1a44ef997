#include "Serve.h"

#include "DialogPlayer.h"
#include "Svg.h"
#include "Utf.h"
#include "WebApp.h"
#include "WinStub.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <deque>
#include <future>
#include <iostream>
#include <mutex>
#include <pthread.h>
#include <thread>

namespace vekhost {

namespace {

using nlohmann::json;

// What a server thread asks of the plug-in's thread.
struct Task {
  enum Kind { State, Svg, Event, Quit, Stop } kind = State;
  std::string line;
  size_t journalFrom = 0;
  std::promise<WebReply> reply;
};

class TaskQueue {
public:
  void Push(Task task) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      tasks_.push_back(std::move(task));
    }
    ready_.notify_one();
  }
  Task Pop() {
    std::unique_lock<std::mutex> lock(mutex_);
    ready_.wait(lock, [&] { return !tasks_.empty(); });
    Task task = std::move(tasks_.front());
    tasks_.pop_front();
    return task;
  }

private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Task> tasks_;
};

WebReply Text(int status, const std::string& line) {
  return {status, "text/plain; charset=utf-8", line + "\n"};
}

// The server threads' side: each call waits for the plug-in's thread.
class QueuePort : public SessionPort {
public:
  explicit QueuePort(TaskQueue& queue) : queue_(queue) {}
  WebReply State(size_t journalFrom) override {
    Task task;
    task.journalFrom = journalFrom;
    return Call(std::move(task));
  }
  WebReply Svg() override { return Call(Make(Task::Svg)); }
  WebReply Event(const std::string& line) override {
    Task task = Make(Task::Event);
    task.line = line;
    return Call(std::move(task));
  }
  WebReply Quit() override { return Call(Make(Task::Quit)); }

private:
  static Task Make(Task::Kind kind) {
    Task task;
    task.kind = kind;
    return task;
  }
  WebReply Call(Task task) {
    std::future<WebReply> reply = task.reply.get_future();
    queue_.Push(std::move(task));
    if (reply.wait_for(std::chrono::seconds(30)) != std::future_status::ready)
      return Text(503, "the session did not answer in time");
    return reply.get();
  }
  TaskQueue& queue_;
};

json PointJson(double x, double y) { return json::array({x, y}); }

json FrameJson(const FrameBox& box) {
  return {{"origin", PointJson(box.origin.x, box.origin.y)},
          {"size", PointJson(box.size.x, box.size.y)}};
}

// The named elements that a pick of would reach the plug-in now. The
// compare function is asked as the host asks it while the cursor moves;
// those calls are left out of the journal.
json Pickable(const Drawing& drawing) {
  json names = json::array();
  std::vector<std::string> all;
  for (const Dimension& d : drawing.dimensions) all.push_back(d.name);
  for (const Note& n : drawing.notes) all.push_back(n.name);
  for (const Element& e : drawing.elements) all.push_back(e.name);
  SimSetJournaling(0);
  for (const std::string& name : all) {
    VekElementId id = 0;
    Point at;
    if (!drawing.Find(name, id, at)) continue;
    SimEvent pick{EVT_PICK, 1, at.x, at.y, id, 0, nullptr};
    if (SimWouldDeliver(&pick)) names.push_back(name);
  }
  SimSetJournaling(1);
  return names;
}

const char* ControlKind(WORD kind) {
  switch (kind) {
  case 0x80:
    return "button";
  case 0x81:
    return "edit";
  case 0x82:
    return "static";
  case 0x85:
    return "combo";
  default:
    return "other";
  }
}

// The open dialog as the template lays it out, with what each control
// shows now.
json DialogJson(HWND dialog) {
  WinStubDialogFrame frame{};
  WinStubGetDialogFrame(dialog, &frame);
  int count = WinStubDialogControls(dialog, nullptr, nullptr, 0);
  std::vector<WinStubControl> controls(static_cast<size_t>(count));
  std::vector<HWND> windows(static_cast<size_t>(count));
  WinStubDialogControls(dialog, controls.data(), windows.data(), count);
  json list = json::array();
  for (int i = 0; i < count; ++i) {
    const WinStubControl& c = controls[size_t(i)];
    json control = {{"id", c.id},
                    {"kind", ControlKind(c.kind)},
                    {"style", c.style},
                    {"rect", {c.x, c.y, c.cx, c.cy}},
                    {"text", utf::ToUtf8(WindowText(windows[size_t(i)]))}};
    if (c.id != -1) control["name"] = DialogControlName(c.id);
    if (c.kind == 0x85) {
      json items = json::array();
      int n = int(SendMessageW(windows[size_t(i)], CB_GETCOUNT, 0, 0));
      for (int item = 0; item < n; ++item)
        items.push_back(utf::ToUtf8(ListItem(dialog, c.id, item)));
      control["items"] = items;
      control["selected"] = int(SendMessageW(windows[size_t(i)], CB_GETCURSEL, 0, 0));
    }
    if (c.kind == 0x80) control["checked"] = IsDlgButtonChecked(dialog, c.id) == BST_CHECKED;
    list.push_back(control);
  }
  return {{"caption", utf::ToUtf8(WindowText(dialog))},
          {"size", {frame.cx, frame.cy}},
          {"font", {{"name", utf::ToUtf8(frame.typeface)}, {"points", frame.pointSize}}},
          {"controls", list}};
}

json StateJson(const Drawing& drawing, const Session& session, size_t journalFrom, bool ended) {
  json notes = json::array();
  for (const ResultNote& note : ResultNotes(drawing)) {
    if (!note.isNew && !note.changed) continue;
    const SimNote& s = note.state;
    notes.push_back({{"name", note.name},
                     {"new", note.isNew},
                     {"text", s.text},
                     {"readable", ReadableText(s.text)},
                     {"at", PointJson(s.x, s.y)},
                     {"frame", FrameKey(s.frame)},
                     {"height", s.height}});
  }
  json preview = nullptr;
  if (std::optional<SimNote> p = PreviewNote())
    preview = {{"readable", ReadableText(p->text)},
               {"at", PointJson(p->x, p->y)},
               {"frame", FrameKey(p->frame)},
               {"height", p->height}};
  json journal = json::array();
  size_t from = std::min<size_t>(journalFrom, size_t(SimJournalSize()));
  for (int32_t i = int32_t(from); i < SimJournalSize(); ++i) journal.push_back(SimJournalEntry(i));
  int32_t errors = SimErrorCount();
  return {{"running", !ended && session.Running()},
          {"ended", ended},
          {"prompt", SimPrompt()},
          {"cursor", SimCursorText()},
          {"error", errors > 0 ? SimError(errors - 1) : ""},
          {"frame", FrameKey(SimGetCurrentFrame())},
          {"frames", {{"figure", FrameJson(drawing.figure)}, {"title", FrameJson(drawing.title)}}},
          {"notes", notes},
          {"preview", preview},
          {"pickable", ended ? json::array() : Pickable(drawing)},
          {"dialog", session.OpenDialog() ? DialogJson(session.OpenDialog()) : json(nullptr)},
          {"journal", {{"from", from}, {"size", SimJournalSize()}, {"entries", journal}}}};
}

// The plug-in's thread: answers the requests in order, and hands the events
// to the session. Each event's request is answered with the state at the
// moment the session next waits for one, so that the answer to the end
// button that opens the dialog already shows the dialog.
class QueueSource : public EventSource {
public:
  QueueSource(TaskQueue& queue, Drawing& drawing, Session& session)
      : queue_(queue), drawing_(drawing), session_(session) {}

  bool Stopped() const { return stopped_; }

  // Answers one request of an ended session; false on Stop.
  bool ServeEnded() {
    Task task = queue_.Pop();
    if (task.kind == Task::Stop) return false;
    if (task.kind == Task::Event || task.kind == Task::Quit)
      task.reply.set_value(Text(410, "the session has ended"));
    else
      Answer(task, true);
    return true;
  }

  // Answers the Quit that ended the session, once the results are written.
  void Ended() {
    if (quit_) quit_->reply.set_value(StateReply(SIZE_MAX, true));
    quit_.reset();
  }

protected:
  std::optional<ScriptEvent> Read() override {
    if (pending_) pending_->reply.set_value(StateReply(SIZE_MAX, false));
    pending_.reset();
    if (quit_ || stopped_) return std::nullopt;
    for (;;) {
      Task task = queue_.Pop();
      if (task.kind == Task::Stop) {
        stopped_ = true;
        return std::nullopt;
      }
      if (task.kind == Task::Quit) {
        quit_ = std::move(task);
        return std::nullopt;
      }
      if (task.kind != Task::Event) {
        Answer(task, false);
        continue;
      }
      std::optional<ScriptEvent> event = Take(task);
      if (!event) continue;
      pending_ = std::move(task);
      return event;
    }
  }

private:
  WebReply StateReply(size_t journalFrom, bool ended) {
    return {200, "application/json", StateJson(drawing_, session_, journalFrom, ended).dump()};
  }
  void Answer(Task& task, bool ended) {
    if (task.kind == Task::Svg)
      task.reply.set_value({200, "image/svg+xml", DrawingSvg(drawing_, ResultNotes(drawing_))});
    else
      task.reply.set_value(StateReply(task.journalFrom, ended));
  }
  // The event of a request, or nothing when the request is answered here.
  std::optional<ScriptEvent> Take(Task& task) {
    std::optional<ScriptEvent> event;
    try {
      event = ParseEvent(task.line, drawing_, "");
    } catch (const InputError& error) {
      task.reply.set_value(Text(400, error.what()));
      return std::nullopt;
    }
    bool dialogAction =
        event && (event->kind == ScriptEvent::Dialog || event->kind == ScriptEvent::Show);
    if (!event)
      task.reply.set_value(Text(400, "expected an event, such as \"pick width\""));
    else if (session_.OpenDialog() && !dialogAction)
      task.reply.set_value(Text(409, "the settings dialog is open: only dialog actions are taken"));
    else if (!session_.OpenDialog() && dialogAction)
      task.reply.set_value(
          Text(409, "no dialog is open: the end button at the width step opens it"));
    else
      return event;
    return std::nullopt;
  }

  TaskQueue& queue_;
  Drawing& drawing_;
  Session& session_;
  std::optional<Task> pending_, quit_;
  bool stopped_ = false;
};

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

} // namespace

void Serve(Drawing& drawing, Session& session, const ServeOptions& options,
           const std::function<void()>& finish) {
  // Ctrl-C reaches the signal thread alone: every thread started from here
  // on inherits the mask.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  TaskQueue queue;
  QueuePort port(queue);
  httplib::Server server;
  server.set_payload_max_length(kMaxBody);
  // SO_REUSEADDR alone: the library's SO_REUSEPORT would let a second server
  // share a port that is taken.
  server.set_socket_options([](socket_t socket) {
    int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  int bound = Bind(server, options);
  std::string address = options.listen == "0.0.0.0" ? "127.0.0.1" : options.listen;
  std::vector<std::string> hosts = {"127.0.0.1:" + std::to_string(bound),
                                    "localhost:" + std::to_string(bound),
                                    options.listen + ":" + std::to_string(bound)};
  WebApp app(port, hosts);
  auto handle = [&](const httplib::Request& request, httplib::Response& response) {
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
  std::thread listener([&] { server.listen_after_bind(); });
  std::thread signalWaiter([&] {
    int signal = 0;
    sigwait(&signals, &signal);
    Task stop;
    stop.kind = Task::Stop;
    queue.Push(std::move(stop));
  });

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
  // Requests that come while the server stops are answered, so that no
  // server thread waits for the plug-in's thread.
  std::thread drainer([&] {
    for (Task task = queue.Pop(); task.kind != Task::Stop; task = queue.Pop())
      task.reply.set_value(Text(503, "the server is stopping"));
  });
  server.stop();
  listener.join();
  Task end;
  end.kind = Task::Stop;
  queue.Push(std::move(end));
  drainer.join();
  signalWaiter.join();
}

} // namespace vekhost
