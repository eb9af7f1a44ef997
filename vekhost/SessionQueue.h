// The hand-over between the web server's threads and the thread that runs
// the plug-in, as the host's user-interface thread does: every request is a
// task in one queue; the plug-in's thread takes them in order and answers
// each through its promise. The server's threads never call the plug-in.
#ifndef TRISPAN_VEKHOST_SESSIONQUEUE_H
#define TRISPAN_VEKHOST_SESSIONQUEUE_H

#include "Session.h"
#include "WebApp.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>

namespace vekhost {

// Who has an event: nobody yet, the plug-in's thread (which plays it), or
// the request, which stopped waiting (and said so): whoever comes first.
enum Claim { kWaiting, kTaken, kAbandoned };

// What a server thread asks of the plug-in's thread.
struct Task {
  enum Kind { State, Svg, Event, Quit, Stop } kind = State;
  std::string line;
  size_t journalFrom = 0;
  std::promise<WebReply> reply;
  std::promise<Picture> picture; // of an Svg task, in place of reply
  std::shared_ptr<std::atomic<int>> claim = std::make_shared<std::atomic<int>>(kWaiting);

  // Answers a task that is not done: a text reply, or no picture.
  void Answer(WebReply refusal) {
    if (kind == Svg)
      picture.set_value(Picture{});
    else
      reply.set_value(std::move(refusal));
  }

  // The plug-in's thread may play it: nobody gave up on it.
  bool Take() {
    int waiting = kWaiting;
    return claim->compare_exchange_strong(waiting, kTaken);
  }
};

class TaskQueue {
public:
  void Push(Task task);
  // The oldest task, waiting for one.
  Task Pop();

private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Task> tasks_;
};

// The server threads' side: each call waits for the plug-in's thread. An
// event it has not taken within the patience is withdrawn and refused (503),
// and then never played; one it has taken is waited for and answered.
class QueuePort : public SessionPort {
public:
  explicit QueuePort(TaskQueue& queue,
                     std::chrono::milliseconds patience = std::chrono::seconds(30))
      : queue_(queue), patience_(patience) {}
  WebReply State(size_t journalFrom) override;
  Picture Svg() override;
  WebReply Event(const std::string& line) override;
  WebReply Quit() override;

private:
  WebReply Call(Task task);
  TaskQueue& queue_;
  std::chrono::milliseconds patience_;
};

// The plug-in's thread: answers the requests in order, and hands the events
// to the session. Each event's request is answered with the state at the
// moment the session next waits for one, so that the answer to the end
// button that opens the dialog already shows the dialog.
class QueueSource : public EventSource {
public:
  QueueSource(TaskQueue& queue, Drawing& drawing, Session& session);

  std::optional<ScriptEvent> Next() override;
  bool Stopped() const { return stopped_; }
  // Answers one request of an ended session; false on Stop.
  bool ServeEnded();
  // Answers the Quit that ended the session, once the results are written.
  void Ended();

private:
  WebReply StateReply(size_t journalFrom, bool ended);
  void Answer(Task& task, bool ended);
  // The drawing as it stands, made once per change.
  Picture CurrentPicture();
  // The event of a request, or nothing when the request is answered here.
  std::optional<ScriptEvent> Take(Task& task);

  TaskQueue& queue_;
  Drawing& drawing_;
  Session& session_;
  std::optional<Task> pending_, quit_;
  bool stopped_ = false;
  uint64_t version_ = 0; // counts the events played: what they change
  std::string mark_;     // this session's, for the pictures' tags
  std::optional<std::pair<uint64_t, Picture>> picture_;
};

} // namespace vekhost

#endif
