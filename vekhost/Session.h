// Running the command in the simulated host and telling what happens: each
// event as given, then each prompt, cursor text and error line the plug-in
// puts (and, asked for, each host call).
#ifndef TRISPAN_VEKHOST_SESSION_H
#define TRISPAN_VEKHOST_SESSION_H

#include "Script.h"

#include <windows.h>

#include <optional>
#include <ostream>
#include <set>

namespace vekhost {

// Where a session's events come from: a script, or the terminal.
class EventSource {
public:
  virtual ~EventSource() = default;
  std::optional<ScriptEvent> Next();
  // Gives an event back, to come next again.
  void PushBack(const ScriptEvent& event) { pushed_ = event; }
  // Whether the session shows each event as it plays it.
  virtual bool Echoes() const { return true; }

protected:
  virtual std::optional<ScriptEvent> Read() = 0;

private:
  std::optional<ScriptEvent> pushed_;
};

class ScriptSource : public EventSource {
public:
  explicit ScriptSource(std::vector<ScriptEvent> events) : events_(std::move(events)) {}

protected:
  std::optional<ScriptEvent> Read() override;

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

private:
  void Play(const ScriptEvent& event, EventSource& source);
  // The settings dialog is open: shows it, then plays the dialog actions
  // that come next.
  void PlayDialog(HWND dialog, EventSource& source);
  void ShowDialog(HWND dialog);
  // Each element of the drawing with its kind and measure.
  void ListNames();
  // What the host shows of the plug-in's messages (and calls).
  void Report();
  // A note as soon as it is written, and the preview at the cursor.
  void ReportNotes();

  const Drawing& drawing_;
  std::ostream& out_;
  bool journal_;
  int32_t messagesShown_ = 0;
  int32_t callsShown_ = 0;
  int failedSavesShown_ = 0;
  bool dialogConfirmed_ = false; // the dialog being played closed with OK
  std::set<std::string> notesShown_;
  bool settingsLost_ = false;
  HWND openDialog_ = nullptr;
};

// The settings as stored, and their place, for --settings.
void PrintSettings(std::ostream& out);
// One line naming the stored settings that differ from the defaults, if any.
void PrintChangedSettings(std::ostream& out);
// Deletes the stored settings: the defaults come back at the next start.
bool ResetSettings();

} // namespace vekhost

#endif
