#include "DialogForm.h"

#include "DialogPlayer.h"
#include "SettingsTable.h"
#include "Utf.h"

namespace vekhost {

namespace {

void ShowList(HWND dialog, const DialogControl& control, std::ostream& out) {
  int selected = int(SendDlgItemMessageW(dialog, control.id, CB_GETCURSEL, 0, 0));
  int count = int(SendDlgItemMessageW(dialog, control.id, CB_GETCOUNT, 0, 0));
  out << "    " << DialogControlName(control.id) << ":";
  for (int i = 0; i < count; ++i) {
    std::string item = utf::ToUtf8(ListItem(dialog, control.id, i));
    out << " " << i << (i == selected ? "=[" + item + "]" : "=" + item);
  }
  out << "\n";
}

// The group goes by its first button's name up to the dash.
void ShowRadioGroup(HWND dialog, const DialogControl& control, std::ostream& out) {
  std::string name = DialogControlName(control.id);
  out << "    " << name.substr(0, name.rfind('-')) << ":";
  for (int id = control.id; id <= control.lastId; ++id)
    out << " " << (IsDlgButtonChecked(dialog, id) == BST_CHECKED ? "(*) " : "( ) ")
        << DialogControlName(id) << " " << utf::ToUtf8(WindowText(GetDlgItem(dialog, id)));
  out << "\n";
}

} // namespace

void ShowDialogForm(HWND dialog, std::ostream& out) {
  out << "  dialog: " << utf::ToUtf8(WindowText(dialog)) << "\n";
  for (const SettingField& setting : kSettingFields) {
    const DialogControl& control = setting.control;
    switch (control.kind) {
    case ControlKind::List:
      ShowList(dialog, control, out);
      break;
    case ControlKind::RadioGroup:
      ShowRadioGroup(dialog, control, out);
      break;
    case ControlKind::EditBox:
      out << "    " << DialogControlName(control.id) << ": \""
          << utf::ToUtf8(WindowText(GetDlgItem(dialog, control.id))) << "\"\n";
      break;
    }
  }
  out << "    (dialog select LIST N, dialog click BUTTON, dialog type EDIT TEXT, "
         "dialog click ok or cancel)\n";
}

void PlayDialogAction(HWND dialog, const ScriptEvent& action) {
  if (action.action == "select")
    SelectListItem(dialog, action.control, action.position);
  else if (action.action == "type")
    TypeText(dialog, action.control, utf::ToUtf16(action.text));
  else
    ClickButton(dialog, action.control);
}

} // namespace vekhost
