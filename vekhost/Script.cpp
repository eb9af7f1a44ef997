#include "Script.h"

#include "DrawingFile.h"
#include "Language.h"
#include "Printable.h"
#include "SettingsTable.h"
#include "Utf.h"

#include <windows.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace vekhost {

namespace {

[[noreturn]] void Fail(const std::string& place, const std::string& what) {
  throw InputError(place.empty() ? what : place + ": " + what);
}

// A decimal number as people write one (not 0x10, not inf), within range.
double Number(std::istringstream& words, const std::string& place, const char* what) {
  std::string word;
  if (!(words >> word)) Fail(place, Fill(Tr("expected {}"), {Tr(what)}));
  if (word[0] == '#') Fail(place, Tr("a comment (#) takes a line of its own"));
  const char* first = word.c_str() + (word[0] == '+' ? 1 : 0);
  const char* last = word.c_str() + word.size();
  double value = 0;
  auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (error == std::errc::result_out_of_range)
    Fail(place, Fill(Tr("the number for {} is out of range: {}"), {Tr(what), word}));
  if (error != std::errc() || end != last || !std::isfinite(value))
    Fail(place, Fill(Tr("expected a number for {}, not \"{}\""), {Tr(what), word}));
  return value;
}

void Known(const Drawing& drawing, const std::string& name, const std::string& place) {
  VekElementId id;
  vekhost::Point point;
  if (!drawing.Find(name, id, point))
    Fail(place, Fill(Tr("the drawing has no element \"{}\""), {name}));
}

struct NamedControl {
  std::string action;
  std::string name;
  int id;
};

// The settings dialog's buttons, and its settings' controls by the short
// names scripts give them.
const NamedControl kShortNames[] = {
    {"select", "round", IDC_ROUND},
    {"select", "frame-dim", IDC_FRAME_DIM},
    {"select", "frame-char", IDC_FRAME_CHAR},
    {"select", "frame-cmd", IDC_FRAME_CMD},
    {"click", "font-external", IDC_FONT_EXTERNAL},
    {"click", "font-windows", IDC_FONT_WINDOWS},
    {"click", "ok", IDOK},
    {"click", "cancel", IDCANCEL},
    {"type", "connector", IDC_MTITLE},
    {"type", "width", IDC_WIDTH},
    {"type", "height", IDC_HEIGHT},
    {"type", "pitch", IDC_PITCH},
    {"type", "x", IDC_POSITION_X},
    {"type", "y", IDC_POSITION_Y},
    {"type", "prefix", IDC_PRE_COMMENT},
};

// Every control a script can reach: the short names first, then each
// setting's control by its registry name (a radio button: the name, a dash
// and its index), so that a setting without a short name is reachable too.
const std::vector<NamedControl>& DialogControls() {
  static const std::vector<NamedControl> controls = [] {
    std::vector<NamedControl> all(std::begin(kShortNames), std::end(kShortNames));
    for (const SettingField& setting : kSettingFields) {
      const DialogControl& control = setting.control;
      std::string name = utf::ToUtf8(setting.name);
      switch (control.kind) {
      case ControlKind::List:
        all.push_back({"select", name, control.id});
        break;
      case ControlKind::EditBox:
        all.push_back({"type", name, control.id});
        break;
      case ControlKind::RadioGroup:
        for (int id = control.id; id <= control.lastId; ++id)
          all.push_back({"click", name + "-" + std::to_string(id - control.id), id});
        break;
      }
    }
    return all;
  }();
  return controls;
}

// The names of the controls of an action ("select", "click" or "type"), as
// the dialog's form shows them.
std::string ControlNames(const std::string& action) {
  std::string names;
  for (const NamedControl& control : DialogControls())
    if (control.action == action && DialogControlName(control.id) == control.name)
      names += (names.empty() ? "" : ", ") + control.name;
  return names;
}

struct EventForm {
  std::string form, meaning;
};

// The script's grammar.
std::vector<EventForm> EventForms() {
  return {
      {"pick NAME [X Y]", Tr("pick an element by its name (at its middle, or at X Y)")},
      {"point X Y [on NAME]", Tr("a data point, on the named element or on none")},
      {"motion X Y", Tr("the cursor moves to X Y")},
      {"further X Y", Tr("the further position event (kind 3)")},
      {"keyin [TEXT]", Tr("typed text: the rest of the line, blanks included")},
      {"end", Tr("the end button")},
      {"start", Tr("start the command again once it has ended")},
      {"dialog select LIST N", Fill(Tr("in the settings dialog, which the end button at the width "
                                       "step opens: choose position N of a list ({})"),
                                    {ControlNames("select")})},
      {"dialog click BUTTON", Fill(Tr("click {}"), {ControlNames("click")})},
      {"dialog type EDIT TEXT",
       Fill(Tr("replace an edit box's text with the rest of the line ({}); every control also "
               "goes by its setting's registry name: dialog type MTitle *, dialog click Font-1"),
            {ControlNames("type")})},
      {"names", Tr("list the drawing's elements")},
      {"show", Tr("show the settings dialog's form again")},
      {"# ...", Tr("a comment; blank lines are skipped too")},
  };
}

// The first words of the forms: the verbs a line may begin with.
std::string Verbs() {
  std::string verbs;
  for (const EventForm& form : EventForms()) {
    std::string verb = form.form.substr(0, form.form.find(' '));
    if (verb != "#" && verbs.find(verb) == std::string::npos)
      verbs += (verbs.empty() ? "" : ", ") + verb;
  }
  return verbs;
}

void ParseDialogAction(std::istringstream& words, const std::string& line, ScriptEvent& event,
                       const std::string& place) {
  std::string name;
  words >> event.action >> name;
  std::string names = ControlNames(event.action);
  for (const NamedControl& control : DialogControls())
    if (control.action == event.action && control.name == name) event.control = control.id;
  if (names.empty()) Fail(place, Tr("dialog: expected select, click or type"));
  if (!event.control) Fail(place, Fill(Tr("dialog {}: expected one of {}"), {event.action, names}));
  if (event.action == "select") {
    int items = SettingOfControl(event.control)->control.choiceCount;
    double position = Number(words, place, N_("a position"));
    if (position < 0 || position >= items || position != std::floor(position))
      Fail(place, Fill(Tr("dialog select {}: expected a position from 0 to {}"),
                       {name, std::to_string(items - 1)}));
    event.position = int(position);
  }
  if (event.action == "type") {
    size_t at = line.find(name, line.find(event.action) + event.action.size()) + name.size();
    event.text = at < line.size() ? line.substr(at + 1) : "";
    words.str("");
  }
}

} // namespace

std::string ScriptGrammar() {
  const size_t kColumn = 25, kWidth = 93;
  std::string text;
  for (const EventForm& form : EventForms()) {
    std::string line = "  " + form.form;
    line += line.size() < kColumn ? std::string(kColumn - line.size(), ' ')
                                  : "\n" + std::string(kColumn, ' ');
    std::istringstream words(form.meaning);
    size_t start = line.rfind('\n') + 1;
    bool first = true;
    for (std::string word; words >> word; first = false) {
      if (!first &&
          TerminalColumns(std::string_view(line).substr(start)) + 1 + TerminalColumns(word) >
              kWidth) {
        line += "\n" + std::string(kColumn, ' ');
        start = line.size() - kColumn;
      } else if (!first) {
        line += ' ';
      }
      line += word;
    }
    text += line + "\n";
  }
  return text;
}

std::string DialogControlName(int id) {
  for (const NamedControl& control : DialogControls())
    if (control.id == id) return control.name;
  return std::to_string(id);
}

std::optional<ScriptEvent> ParseEvent(const std::string& line, const Drawing& drawing,
                                      const std::string& place) {
  std::string clean = line;
  if (!clean.empty() && clean.back() == '\r') clean.pop_back();
  std::istringstream words(clean);
  std::string verb;
  if (!(words >> verb) || verb[0] == '#') return std::nullopt;
  ScriptEvent event;
  event.line = clean.substr(clean.find_first_not_of(" \t"));
  if (verb == "pick") {
    event.kind = ScriptEvent::Pick;
    if (!(words >> event.name)) Fail(place, Tr("pick: expected an element's name"));
    Known(drawing, event.name, place);
    words >> std::ws;
    if (!words.eof()) {
      event.at.x = Number(words, place, "x");
      event.at.y = Number(words, place, "y");
      event.hasPoint = true;
    }
  } else if (verb == "point" || verb == "motion" || verb == "further") {
    event.kind = verb == "point"    ? ScriptEvent::Point
                 : verb == "motion" ? ScriptEvent::Motion
                                    : ScriptEvent::Further;
    event.at.x = Number(words, place, "x");
    event.at.y = Number(words, place, "y");
    event.hasPoint = true;
    std::string on;
    if (verb == "point" && words >> on) {
      if (on != "on" || !(words >> event.name)) Fail(place, Tr("point: expected \"on NAME\""));
      Known(drawing, event.name, place);
    }
  } else if (verb == "keyin") {
    event.kind = ScriptEvent::Keyin;
    size_t start = clean.find("keyin") + 5;
    if (start < clean.size()) event.text = clean.substr(start + 1);
    return event;
  } else if (verb == "dialog") {
    event.kind = ScriptEvent::Dialog;
    ParseDialogAction(words, clean, event, place);
  } else if (verb == "end" || verb == "start") {
    event.kind = verb == "end" ? ScriptEvent::End : ScriptEvent::Start;
  } else if (verb == "names" || verb == "show") {
    event.kind = verb == "names" ? ScriptEvent::Names : ScriptEvent::Show;
  } else {
    Fail(place, Fill(Tr("unknown event \"{}\" ({})"), {verb, Verbs()}));
  }
  std::string extra;
  if (words >> extra) Fail(place, Fill(Tr("unexpected \"{}\""), {extra}));
  return event;
}

std::vector<ScriptEvent> LoadScript(const std::string& path, const Drawing& drawing) {
  std::istringstream in(ReadInputFile(path));
  std::vector<ScriptEvent> events;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number)
    if (auto event = ParseEvent(line, drawing, path + ":" + std::to_string(number)))
      events.push_back(*event);
  return events;
}

SimEvent ToSimEvent(const ScriptEvent& event, const Drawing& drawing) {
  SimEvent sim{0, 0, 0, 0, 0, 0, nullptr};
  VekElementId id = 0;
  vekhost::Point pickPoint;
  if (!event.name.empty()) drawing.Find(event.name, id, pickPoint);
  switch (event.kind) {
  case ScriptEvent::Pick:
    sim.kind = EVT_PICK;
    sim.element = id;
    sim.hasPoint = 1;
    sim.x = event.hasPoint ? event.at.x : pickPoint.x;
    sim.y = event.hasPoint ? event.at.y : pickPoint.y;
    break;
  case ScriptEvent::Point:
  case ScriptEvent::Motion:
  case ScriptEvent::Further:
    sim.kind = event.kind == ScriptEvent::Further ? EVT_FURTHER : EVT_POINT;
    sim.motion = event.kind == ScriptEvent::Motion;
    sim.element = id;
    sim.hasPoint = 1;
    sim.x = event.at.x;
    sim.y = event.at.y;
    break;
  case ScriptEvent::Keyin:
    sim.kind = EVT_KEYIN;
    sim.keyin = event.text.c_str();
    break;
  case ScriptEvent::End:
  case ScriptEvent::Start:
  case ScriptEvent::Dialog:
  case ScriptEvent::Names:
  case ScriptEvent::Show:
    sim.kind = EVT_END;
    break;
  }
  return sim;
}

} // namespace vekhost
