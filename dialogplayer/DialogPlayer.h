// Playing the user at a modal dialog that the plug-in opens from inside a
// host callback: under Windows a timer in the host thread finds the dialog
// once it is open; on Linux the stand-in dialog manager hands it over.
#ifndef TRISPAN_DIALOGPLAYER_DIALOGPLAYER_H
#define TRISPAN_DIALOGPLAYER_DIALOGPLAYER_H

#include <windows.h>

#include <functional>
#include <string>

// The next dialog that opens goes to play; one left open afterwards is
// closed as with Cancel. Without a dialog within some seconds, play is
// dropped (Windows) or the dialog cannot be shown (Linux, never armed).
void OnNextDialog(std::function<void(HWND dialog)> play);

// Forgets a play not yet started.
void CancelNextDialog();

// A person's actions at a dialog, as Windows delivers them: a list's choice
// (CB_SETCURSEL, then CBN_SELCHANGE from the list to the dialog), a click
// (BM_CLICK), a text typed over an edit box's (WM_SETTEXT).
void SelectListItem(HWND dialog, int listId, int position);
void ClickButton(HWND dialog, int buttonId);
void TypeText(HWND dialog, int editId, const std::u16string& text);

// A window's text: an edit box's, or a dialog's caption.
std::u16string WindowText(HWND window);
// The item at a position of a dialog's combo box ("" for none).
std::u16string ListItem(HWND dialog, int listId, int position);

#endif
