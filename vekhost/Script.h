// Session scripts: one event a line, as a drafter would give them. The
// forms and what each means are ScriptGrammar's (vekhost --help shows it).
#ifndef TRISPAN_VEKHOST_SCRIPT_H
#define TRISPAN_VEKHOST_SCRIPT_H

#include "Drawing.h"

#include <optional>
#include <string>
#include <vector>

namespace vekhost {

struct ScriptEvent {
  enum Kind { Pick, Point, Motion, Further, Keyin, End, Start, Dialog, Names, Show } kind = End;
  std::string line; // as written, for the session's echo
  std::string name; // the element picked or under the point
  vekhost::Point at;
  bool hasPoint = false;
  std::string text; // typed
  // A dialog action: "select", "click" or "type", at the control, with the
  // position or (in text) the typed text.
  std::string action;
  int control = 0;
  int position = 0;
};

// Every form of event a script line takes and what it means, one a line
// (wrapped, the meanings aligned), as help texts and the README show them.
std::string ScriptGrammar();

// The name scripts and the dialog's form give a control of the settings
// dialog: its short name, or else its setting's registry name.
std::string DialogControlName(int id);

// Reads one line; nothing for a blank or comment line. Throws InputError
// with `place` ("file:line", or none for a line typed at the terminal) for a
// line it cannot read or a name the drawing does not have.
std::optional<ScriptEvent> ParseEvent(const std::string& line, const Drawing& drawing,
                                      const std::string& place);
// Reads a whole script file.
std::vector<ScriptEvent> LoadScript(const std::string& path, const Drawing& drawing);
// The host's event for a script event (keyin text pointing into it).
SimEvent ToSimEvent(const ScriptEvent& event, const Drawing& drawing);

} // namespace vekhost

#endif
