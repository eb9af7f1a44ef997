// Session scripts: one event a line, as a drafter would give them.
//
//   pick NAME [X Y]        pick an element by its name (at its middle, or at X Y)
//   point X Y [on NAME]    a data point, on the named element or on none
//   motion X Y             the cursor moves to X Y
//   further X Y            the further position event (kind 3)
//   keyin [TEXT]           typed text: the rest of the line, blanks included
//   end                    the end button
//   start                  start the command again once it has ended
//   dialog select LIST N   in the settings dialog: choose position N of a list
//                          (round, frame-dim, frame-char, frame-cmd)
//   dialog click BUTTON    click font-external, font-windows, ok or cancel
//   dialog type EDIT TEXT  replace the text of connector, width, height, pitch,
//                          x, y or prefix with the rest of the line
//                          (a setting's control also goes by its registry
//                          name: dialog type MTitle *, dialog click Font-1)
//   names                  list the elements that can be picked
//   show                   show the settings dialog's form again
//   # ...                  a comment; blank lines are skipped too
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
