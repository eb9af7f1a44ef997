// The hand-over between the web server's threads and the thread that runs
// the plug-in, as the host's user-interface thread does: every request is a
// task in one queue; the plug-in's thread takes them in order and answers
// each through its promise. The server's threads never call the plug-in.
#ifndef TRISPAN_VEKHOST_SESSIONQUEUE_H
#define TRISPAN_VEKHOST_SESSIONQUEUE_H

#include "DrawingParts.h"
#include "Session.h"
#include "WebApp.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <future>
#include <map>
#include <mutex>

namespace vekhost {

// Who has an event: nobody yet, the plug-in's thread (which plays it), or
// the request, which stopped waiting (and said so): whoever comes first.
enum Claim { kWaiting, kTaken, kAbandoned };

// What a server thread asks of the plug-in's thread.
struct Task {
  enum Kind { State, Changes, Event, Quit, Stop } kind = State;
  std::string line;
  size_t journalFrom = 0;
  std::optional<uint64_t> since; // the page's version
  std::promise<WebReply> reply;
  std::shared_ptr<std::atomic<int>> claim = std::make_shared<std::atomic<int>>(kWaiting);

  void Answer(WebReply answer) { reply.set_value(std::move(answer)); }

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

// The server threads' side: each call but the drawing's parts waits for the
// plug-in's thread. An event it has not taken within the patience is
// withdrawn and refused (503), and then never played; one it has taken is
// waited for and answered.
class QueuePort : public SessionPort {
public:
  QueuePort(TaskQueue& queue, DrawingParts& parts,
            std::chrono::milliseconds patience = std::chrono::seconds(30))
      : queue_(queue), parts_(parts), patience_(patience) {}
  WebReply State(size_t journalFrom) override;
  WebReply Changes(uint64_t since) override;
  StoredBody DrawingPart(size_t index, bool gzip) override { return parts_.Part(index, gzip); }
  WebReply Event(const std::string& line, std::optional<uint64_t> since) override;
  WebReply Quit() override;

private:
  WebReply Call(Task task);
  TaskQueue& queue_;
  DrawingParts& parts_;
  std::chrono::milliseconds patience_;
};

// The plug-in's thread: answers the requests in order, and hands the events
// to the session. Each event's request is answered with the changes at the
// moment the session next waits for one, so that the answer to the end
// button that opens the dialog already shows the dialog. Every event played
// makes a new version of the state.
class QueueSource : public EventSource {
public:
  QueueSource(TaskQueue& queue, Drawing& drawing, Session& session);

  std::optional<ScriptEvent> Next() override;
  bool ShowsMotions() const override { return false; }
  bool Stopped() const { return stopped_; }
  // Answers one request of an ended session; false on Stop.
  bool ServeEnded();
  // Answers the Quit that ended the session, once the results are written.
  void Ended();

private:
  WebReply StateReply(size_t journalFrom, bool ended);
  WebReply ChangesReply(uint64_t since, bool ended);
  void Answer(Task& task, bool ended);
  // A new version: the host's count of note changes at it.
  void NewVersion();
  // The event of a request, or nothing when the request is answered here.
  std::optional<ScriptEvent> Take(Task& task);

  TaskQueue& queue_;
  Drawing& drawing_;
  Session& session_;
  std::optional<Task> pending_, quit_;
  uint64_t pendingSince_ = 0;
  bool stopped_ = false;
  uint64_t version_ = 0; // counts the events played: what they change
  // The versions at which the notes changed, with the host's count of note
  // changes then: one entry per change, not per version.
  std::map<uint64_t, int32_t> noteChanges_;
};

} // namespace vekhost

#endif
