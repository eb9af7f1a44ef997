// The settings dialog as a form at the terminal, and a script's actions
// played at it through the dialog driver.
#ifndef TRISPAN_VEKHOST_DIALOGFORM_H
#define TRISPAN_VEKHOST_DIALOGFORM_H

#include "Script.h"

#include <windows.h>

#include <ostream>

namespace vekhost {

// The dialog's caption and each setting's control with what it shows now:
// a list's items with the selected one in brackets, a radio group's
// buttons, an edit box's text; then how to act on them.
void ShowDialogForm(HWND dialog, std::ostream& out);

// Plays a dialog action (select, click or type) as a person at the dialog.
void PlayDialogAction(HWND dialog, const ScriptEvent& action);

} // namespace vekhost

#endif
