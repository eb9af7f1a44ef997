// Plays a user at the settings dialog, the same way on both builds (see
// DialogPlayer.h): actions as the tests name them, played by its driver.
#ifndef TRISPAN_TESTS_DIALOGDRIVER_H
#define TRISPAN_TESTS_DIALOGDRIVER_H

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

// What the dialog showed when it opened.
struct DialogView {
  bool opened = false;
  std::u16string caption;
  std::map<int, int> selections;                    // list id: position, CB_ERR for none
  std::map<int, std::vector<std::u16string>> items; // list id: items
  std::map<int, bool> checked;                      // radio id
  std::map<int, std::u16string> texts;              // edit id
};

using DialogAction = std::function<void(HWND dialog)>;

DialogAction Select(int listId, int position);
DialogAction Click(int buttonId);
DialogAction Type(int editId, const std::u16string& text);
DialogAction Uncheck(int buttonId);

// The next dialog to open: what it shows goes to view (if given), then the
// actions are played; a dialog they leave open is cancelled.
void OnNextDialog(std::vector<DialogAction> actions, DialogView* view = nullptr);

#endif
