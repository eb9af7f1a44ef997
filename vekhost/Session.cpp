#include "Session.h"

#include "DialogPlayer.h"
#include "SettingsTable.h"
#include "Svg.h"
#include "Utf.h"
#include "resource.h"

#include <windows.h>
#ifndef _WIN32
#include "WinStub.h"
#endif

#include <algorithm>
#include <cstring>
#include <vector>

namespace vekhost {

namespace {

const std::u16string kSettingsKey = std::u16string(kSettingsRoot) + kSettingsSubKey;
const char kWidthPrompt[] = "가로치수선택 : (종료버튼:Dialog)";

LPCWSTR Wide(const char16_t* text) { return reinterpret_cast<LPCWSTR>(text); }

// A stored setting as a person reads it: "text" in quotes, a number, or
// what else it is, and its text when it is a REG_SZ; false when it is missing.
bool StoredSetting(HKEY key, const char16_t* name, std::string& shown,
                   std::optional<std::u16string>& text) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key, Wide(name), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return false;
  std::vector<char16_t> data(size / 2 + 1, 0);
  RegQueryValueExW(key, Wide(name), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
  uint32_t number = 0;
  std::memcpy(&number, data.data(), std::min<size_t>(size, sizeof number));
  std::u16string stored(data.data());
  if (type == REG_SZ) text = stored;
  if (type == REG_DWORD)
    shown = std::to_string(number) + " (a number)";
  else if (type == REG_SZ || type == REG_EXPAND_SZ)
    shown = "\"" + utf::ToUtf8(stored) + "\"";
  else
    shown = "(of type " + std::to_string(type) + ": the default is used)";
  return true;
}

int FailedSaves() {
#ifdef _WIN32
  return 0; // the Windows registry
#else
  return WinStubFailedSaves();
#endif
}

const char* Refusal(int32_t result) {
  switch (result) {
  case SIM_MASKED:
    return "(the step does not take this event)";
  case SIM_FILTERED:
    return "(the step's filter does not take that element)";
  case SIM_NOT_RUNNING:
    return "(no command runs: \"start\" runs it again)";
  default:
    return nullptr;
  }
}

} // namespace

Session::Session(const Drawing& drawing, std::ostream& out, bool journal)
    : drawing_(drawing), out_(out), journal_(journal), failedSavesShown_(FailedSaves()) {}

void Session::Start() {
  out_ << "command 가로x세로x높이 starts\n";
  SimStartCommand();
  Report();
}

void Session::Run(EventSource& source) {
  while (std::optional<ScriptEvent> event = source.Next()) Play(*event, source);
}

void Session::Play(const ScriptEvent& event, EventSource& source) {
  if (source.Echoes()) out_ << "> " << event.line << "\n";
  if (event.kind == ScriptEvent::Start) {
    if (Running()) Finish();
    Start();
    return;
  }
  if (event.kind == ScriptEvent::Dialog || event.kind == ScriptEvent::Show) {
    out_ << "  (no dialog is open: the end button at the width step opens it)\n";
    return;
  }
  if (event.kind == ScriptEvent::Names) {
    ListNames();
    return;
  }
  SimEvent sim = ToSimEvent(event, drawing_);
  int32_t frame = SimGetCurrentFrame();
  bool atWidthStep = Running() && std::string(SimPrompt()) == kWidthPrompt;
  bool dialogShown = false;
  dialogConfirmed_ = false;
  int failedSaves = FailedSaves();
  if (event.kind == ScriptEvent::End)
    OnNextDialog([&](HWND dialog) {
      dialogShown = true;
      PlayDialog(dialog, source);
    });
  int32_t result = SimSendEvent(&sim);
  CancelNextDialog();
  // The plug-in saves the settings once the dialog has closed.
  if (dialogShown && !dialogConfirmed_)
    out_ << "  dialog closed: Cancel\n";
  else if (dialogShown && FailedSaves() == failedSaves)
    out_ << "  dialog closed: OK, settings saved\n";
  else if (dialogShown)
    out_ << "  dialog closed: OK, the settings are in force but could not be stored\n";
  else if (event.kind == ScriptEvent::End && atWidthStep && result == EXEC_STAY)
    out_ << "  the settings dialog could not be shown (no display?): nothing changed\n";
  Report();
  ReportNotes();
  if (SimGetCurrentFrame() != frame)
    out_ << "  frame: the " << FrameKey(SimGetCurrentFrame()) << " frame is current\n";
  if (const char* refusal = Refusal(result)) out_ << "  " << refusal << "\n";
  if (result == EXEC_END) out_ << "command ended\n";
}

void Session::PlayDialog(HWND dialog, EventSource& source) {
  openDialog_ = dialog;
  struct Closed {
    HWND& dialog;
    ~Closed() { dialog = nullptr; }
  } closed{openDialog_};
  ShowDialog(dialog);
  // Open until OK or Cancel, as a modal dialog is; the end of the events
  // closes it as the close box does.
  while (std::optional<ScriptEvent> event = source.Next()) {
    if (source.Echoes()) out_ << "> " << event->line << "\n";
    if (event->kind == ScriptEvent::Show) {
      ShowDialog(dialog);
      continue;
    }
    if (event->kind != ScriptEvent::Dialog) {
      out_ << "  (the settings dialog is open: dialog click ok or dialog click cancel closes it)\n";
      continue;
    }
    if (event->action == "select") {
      SendDlgItemMessageW(dialog, event->control, CB_SETCURSEL, WPARAM(event->position), 0);
      SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(event->control, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, event->control)));
    } else if (event->action == "type") {
      std::u16string text = utf::ToUtf16(event->text);
      SetWindowTextW(GetDlgItem(dialog, event->control), reinterpret_cast<LPCWSTR>(text.c_str()));
    } else {
      SendDlgItemMessageW(dialog, event->control, BM_CLICK, 0, 0);
      if (event->control == IDOK || event->control == IDCANCEL) {
        dialogConfirmed_ = event->control == IDOK;
        return;
      }
    }
  }
}

void Session::ShowDialog(HWND dialog) {
  out_ << "  dialog: " << utf::ToUtf8(WindowText(dialog)) << "\n";
  for (const SettingField& setting : kSettingFields) {
    const DialogControl& control = setting.control;
    std::string name = DialogControlName(control.id);
    switch (control.kind) {
    case ControlKind::List: {
      int selected = int(SendDlgItemMessageW(dialog, control.id, CB_GETCURSEL, 0, 0));
      int count = int(SendDlgItemMessageW(dialog, control.id, CB_GETCOUNT, 0, 0));
      out_ << "    " << name << ":";
      for (int i = 0; i < count; ++i) {
        std::string item = utf::ToUtf8(ListItem(dialog, control.id, i));
        out_ << " " << i << (i == selected ? "=[" + item + "]" : "=" + item);
      }
      out_ << "\n";
      break;
    }
    case ControlKind::RadioGroup:
      // The group goes by its first button's name up to the dash.
      out_ << "    " << name.substr(0, name.rfind('-')) << ":";
      for (int id = control.id; id <= control.lastId; ++id)
        out_ << " " << (IsDlgButtonChecked(dialog, id) == BST_CHECKED ? "(*) " : "( ) ")
             << DialogControlName(id) << " " << utf::ToUtf8(WindowText(GetDlgItem(dialog, id)));
      out_ << "\n";
      break;
    case ControlKind::EditBox:
      out_ << "    " << name << ": \"" << utf::ToUtf8(WindowText(GetDlgItem(dialog, control.id)))
           << "\"\n";
      break;
    }
  }
  out_ << "    (dialog select LIST N, dialog click BUTTON, dialog type EDIT TEXT, "
          "dialog click ok or cancel)\n";
}

std::optional<ScriptEvent> EventSource::Next() {
  if (!pushed_) return Read();
  std::optional<ScriptEvent> event = std::move(pushed_);
  pushed_.reset();
  return event;
}

std::optional<ScriptEvent> ScriptSource::Read() {
  if (next_ >= events_.size()) return std::nullopt;
  return events_[next_++];
}

void Session::ListNames() {
  for (const Dimension& d : drawing_.dimensions)
    out_ << "  " << d.name << ": dimension (type " << d.type << "), measure " << d.measure
         << (d.mark == VEK_DIM_MARK_DIAMETER ? ", a diameter" : "") << "\n";
  for (const Note& n : drawing_.notes)
    out_ << "  " << n.name << ": " << (n.kind == VEK_NOTE_KIND_GENERAL ? "general note" : "note")
         << " \"" << ReadableText(n.text) << "\"\n";
  for (const Element& e : drawing_.elements)
    out_ << "  " << e.name << ": element of type " << e.type << " (not a dimension)\n";
}

void Session::ReportNotes() {
  for (const ResultNote& note : ResultNotes(drawing_)) {
    if (!note.isNew && !note.changed) continue;
    std::string shown = NoteLine(note);
    if (notesShown_.insert(shown).second) out_ << "  note written: " << shown << "\n";
  }
  if (std::optional<SimNote> preview = PreviewNote())
    out_ << "  preview: " << ReadableText(preview->text) << " at " << preview->x << ", "
         << preview->y << "\n";
}

void Session::Finish() {
  out_ << "the command was still running: it ends here\n";
  SimCancelCommand();
  Report();
}

void Session::Report() {
  if (FailedSaves() > failedSavesShown_) {
    failedSavesShown_ = FailedSaves();
    settingsLost_ = true;
#ifndef _WIN32
    out_ << "  settings could not be stored: " << WinStubSaveError() << "\n";
#endif
  }
  for (; callsShown_ < SimJournalSize(); ++callsShown_)
    if (journal_) out_ << "    host: " << SimJournalEntry(callsShown_) << "\n";
  for (; messagesShown_ < SimMessageCount(); ++messagesShown_) {
    int32_t kind = 0;
    std::string text = SimMessage(messagesShown_, &kind);
    const char* label = kind == SIM_MESSAGE_PROMPT  ? "prompt"
                        : kind == SIM_MESSAGE_ERROR ? "error"
                                                    : "cursor";
    out_ << "  " << label << ": " << ReadableText(text) << "\n";
  }
}

void PrintSettings(std::ostream& out) {
#ifdef _WIN32
  out << "settings: HKEY_CURRENT_USER\\" << utf::ToUtf8(kSettingsKey) << "\n";
#else
  out << "settings: HKEY_CURRENT_USER\\" << utf::ToUtf8(kSettingsKey) << " in "
      << WinStubRegistryFile() << "\n";
#endif
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(kSettingsKey.c_str()), 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    out << "  none stored yet: the first command start writes the defaults\n";
    return;
  }
  for (const SettingField& setting : kSettingFields) {
    std::string shown;
    std::optional<std::u16string> text;
    out << "  " << utf::ToUtf8(setting.name) << " = "
        << (StoredSetting(key, setting.name, shown, text) ? shown : "(missing)") << "\n";
  }
  RegCloseKey(key);
}

void PrintChangedSettings(std::ostream& out) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(kSettingsKey.c_str()), 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return;
  std::string changed;
  for (const SettingField& setting : kSettingFields) {
    std::string shown;
    std::optional<std::u16string> text;
    if (!StoredSetting(key, setting.name, shown, text) || text == setting.defaultText) continue;
    if (!changed.empty()) changed += ", ";
    changed += utf::ToUtf8(setting.name);
    changed += " " + shown;
  }
  RegCloseKey(key);
  if (!changed.empty())
    out << "settings other than the defaults: " << changed
        << " (vekhost --reset-settings brings the defaults back)\n";
}

bool ResetSettings() {
  LONG status = RegDeleteTreeW(HKEY_CURRENT_USER, Wide(kSettingsKey.c_str()));
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

} // namespace vekhost
