#include "SessionQueue.h"

#include "StateViews.h"

#include <chrono>

namespace vekhost {

namespace {

Task MakeTask(Task::Kind kind) {
  Task task;
  task.kind = kind;
  return task;
}

} // namespace

void TaskQueue::Push(Task task) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  ready_.notify_one();
}

Task TaskQueue::Pop() {
  std::unique_lock<std::mutex> lock(mutex_);
  ready_.wait(lock, [&] { return !tasks_.empty(); });
  Task task = std::move(tasks_.front());
  tasks_.pop_front();
  return task;
}

WebReply QueuePort::State(size_t journalFrom) {
  Task task;
  task.journalFrom = journalFrom;
  return Call(std::move(task));
}

WebReply QueuePort::Changes(uint64_t since) {
  Task task = MakeTask(Task::Changes);
  task.since = since;
  return Call(std::move(task));
}

WebReply QueuePort::Event(const std::string& line, std::optional<uint64_t> since) {
  Task task = MakeTask(Task::Event);
  task.line = line;
  task.since = since;
  return Call(std::move(task));
}

WebReply QueuePort::Quit() { return Call(MakeTask(Task::Quit)); }

WebReply QueuePort::Call(Task task) {
  std::future<WebReply> reply = task.reply.get_future();
  std::shared_ptr<std::atomic<int>> claim = task.claim;
  queue_.Push(std::move(task));
  if (reply.wait_for(patience_) != std::future_status::ready) {
    int waiting = kWaiting;
    if (claim->compare_exchange_strong(waiting, kAbandoned))
      return RefusalReply(503, "busy", "the session is busy: this was not played, send it again");
  }
  return reply.get();
}

QueueSource::QueueSource(TaskQueue& queue, Drawing& drawing, Session& session)
    : queue_(queue), drawing_(drawing), session_(session) {
  noteChanges_[0] = session.Notes().Seen();
}

void QueueSource::NewVersion() {
  ++version_;
  if (noteChanges_.rbegin()->second != session_.Notes().Seen())
    noteChanges_[version_] = session_.Notes().Seen();
}

std::optional<ScriptEvent> QueueSource::Next() {
  if (pending_) {
    NewVersion();
    pending_->Answer(ChangesReply(pendingSince_, false));
    pending_.reset();
  }
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
    if (!task.Take()) continue; // its request gave up: never played
    std::optional<ScriptEvent> event = Take(task);
    if (!event) continue;
    pendingSince_ = task.since.value_or(version_);
    pending_ = std::move(task);
    return event;
  }
}

bool QueueSource::ServeEnded() {
  Task task = queue_.Pop();
  if (task.kind == Task::Stop) return false;
  if (task.kind == Task::Event || task.kind == Task::Quit)
    task.Answer(RefusalReply(410, "ended", "the session has ended"));
  else
    Answer(task, true);
  return true;
}

void QueueSource::Ended() {
  NewVersion();
  if (quit_) quit_->Answer(StateReply(SIZE_MAX, true));
  quit_.reset();
}

WebReply QueueSource::StateReply(size_t journalFrom, bool ended) {
  return {200, "application/json",
          StateJson(drawing_, session_, version_, journalFrom, ended).dump()};
}

WebReply QueueSource::ChangesReply(uint64_t since, bool ended) {
  std::optional<int32_t> noteChanges;
  if (since <= version_) noteChanges = std::prev(noteChanges_.upper_bound(since))->second;
  return {200, "application/json",
          ChangesJson(drawing_, session_, version_, since, noteChanges, ended).dump()};
}

void QueueSource::Answer(Task& task, bool ended) {
  if (task.kind == Task::Changes)
    task.Answer(ChangesReply(*task.since, ended));
  else
    task.Answer(StateReply(task.journalFrom, ended));
}

std::optional<ScriptEvent> QueueSource::Take(Task& task) {
  std::optional<ScriptEvent> event;
  try {
    event = ParseEvent(task.line, drawing_, "");
  } catch (const InputError& error) {
    task.Answer(RefusalReply(400, "unreadable-event", error.what()));
    return std::nullopt;
  }
  bool dialogAction =
      event && (event->kind == ScriptEvent::Dialog || event->kind == ScriptEvent::Show);
  if (!event)
    task.Answer(RefusalReply(400, "no-event", "expected an event, such as \"pick width\""));
  else if (session_.OpenDialog() && !dialogAction)
    task.Answer(RefusalReply(409, "dialog-open",
                             "the settings dialog is open: only dialog actions are taken"));
  else if (!session_.OpenDialog() && dialogAction)
    task.Answer(RefusalReply(409, "no-dialog",
                             "no dialog is open: the end button at the width step opens it"));
  else
    return event;
  return std::nullopt;
}

} // namespace vekhost
