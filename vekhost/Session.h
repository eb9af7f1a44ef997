// Running the command in the simulated host and telling what happens: each
// event as given, then each prompt, cursor text and error line the plug-in
// puts (and, asked for, each host call), the notes as they are written, and
// the settings dialog as a form whose actions come from the same events.
#ifndef TRISPAN_VEKHOST_SESSION_H
#define TRISPAN_VEKHOST_SESSION_H

#include "Results.h"
#include "Script.h"

#include <windows.h>

#include <optional>
#include <ostream>
#include <set>

namespace vekhost {

// Where a session's events come from: a script, the terminal, a browser.
class EventSource {
public:
  virtual ~EventSource() = default;
  // The next event; none when the events have ended.
  virtual std::optional<ScriptEvent> Next() = 0;
  // Whether the session shows each event as it plays it.
  virtual bool Echoes() const { return true; }
  // Whether the session shows cursor motions and the preview they move (a
  // page sends them by the hundred).
  virtual bool ShowsMotions() const { return true; }
};

class ScriptSource : public EventSource {
public:
  explicit ScriptSource(std::vector<ScriptEvent> events) : events_(std::move(events)) {}
  std::optional<ScriptEvent> Next() override;

private:
  std::vector<ScriptEvent> events_;
  size_t next_ = 0;
};

class Session {
public:
  Session(const Drawing& drawing, std::ostream& out, bool journal);
  // Starts the command (again).
  void Start();
  // Plays every event of the source.
  void Run(EventSource& source);
  bool Running() const { return SimCommandRunning() != 0; }
  // Ends a command still running, from the host's side.
  void Finish();
  // Some settings could not be stored during the session.
  bool SettingsLost() const { return settingsLost_; }
  // The settings dialog while it is open and its actions are played; null
  // otherwise.
  HWND OpenDialog() const { return openDialog_; }
  // Why the plug-in did not take the last event: "masked" (the step does
  // not take its kind), "filtered" (nor that element), "not-running"; ""
  // when it took it.
  const char* Refused() const { return refused_; }
  // The notes written or changed so far.
  const NoteBook& Notes() const { return notes_; }

private:
  void Play(const ScriptEvent& event, EventSource& source);
  // Hands the event to the plug-in and tells what it did.
  void Send(const ScriptEvent& event, EventSource& source);
  // The settings dialog is open: shows it, then plays the dialog actions
  // that come next, until OK or Cancel.
  void PlayDialog(HWND dialog, EventSource& source);
  // How the dialog closed, and whether OK's settings were stored.
  void ReportDialogClosed(int failedSavesBefore);
  // Each element of the drawing with its kind and measure.
  void ListNames();
  // What the host shows of the plug-in's messages (and calls), each note as
  // soon as it is written, and the preview at the cursor.
  void Report();
  void ReportNotes();

  const Drawing& drawing_;
  std::ostream& out_;
  bool journal_;
  int32_t messagesShown_ = 0;
  int32_t callsShown_ = 0;
  int failedSavesShown_ = 0;
  bool dialogConfirmed_ = false; // the dialog being played closed with OK
  const char* refused_ = "";
  bool motionUnshown_ = false; // the event played is a motion not to show
  NoteBook notes_;
  std::set<std::string> notesShown_;
  bool settingsLost_ = false;
  HWND openDialog_ = nullptr;
};

} // namespace vekhost

#endif
