// Running the command in the simulated host and telling what happens: each
// event as given, then each prompt, cursor text and error line the plug-in
// puts (and, asked for, each host call).
#ifndef TRISPAN_VEKHOST_SESSION_H
#define TRISPAN_VEKHOST_SESSION_H

#include "Script.h"

#include <ostream>

namespace vekhost {

class Session {
public:
  Session(const Drawing& drawing, std::ostream& out, bool journal);
  // Starts the command (again).
  void Start();
  void Play(const ScriptEvent& event);
  bool Running() const { return SimCommandRunning() != 0; }
  // Ends a command still running, from the host's side.
  void Finish();

private:
  void Report();

  const Drawing& drawing_;
  std::ostream& out_;
  bool journal_;
  int32_t messagesShown_ = 0;
  int32_t callsShown_ = 0;
};

// The settings as stored, and their place, for --settings.
void PrintSettings(std::ostream& out);
// Deletes the stored settings: the defaults come back at the next start.
bool ResetSettings();

} // namespace vekhost

#endif
