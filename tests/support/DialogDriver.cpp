#include "DialogDriver.h"

#include "DialogPlayer.h"
#include "resource.h"

namespace {

void Record(HWND dialog, DialogView& view) {
  view.opened = true;
  view.caption = WindowText(dialog);
  for (int id : {IDC_ROUND, IDC_FRAME_DIM, IDC_FRAME_CHAR, IDC_FRAME_CMD}) {
    view.selections[id] = int(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
    int count = int(SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) view.items[id].push_back(ListItem(dialog, id, i));
  }
  for (int id : {IDC_FONT_EXTERNAL, IDC_FONT_WINDOWS})
    view.checked[id] = IsDlgButtonChecked(dialog, id) == BST_CHECKED;
  for (int id : {IDC_MTITLE, IDC_WIDTH, IDC_HEIGHT, IDC_PITCH, IDC_POSITION_X, IDC_POSITION_Y,
                 IDC_PRE_COMMENT})
    view.texts[id] = WindowText(GetDlgItem(dialog, id));
}

} // namespace

DialogAction Select(int listId, int position) {
  return [=](HWND dialog) { SelectListItem(dialog, listId, position); };
}

DialogAction Click(int buttonId) {
  return [=](HWND dialog) { ClickButton(dialog, buttonId); };
}

DialogAction Type(int editId, const std::u16string& text) {
  return [=](HWND dialog) { TypeText(dialog, editId, text); };
}

DialogAction Uncheck(int buttonId) {
  return [=](HWND dialog) { SendDlgItemMessageW(dialog, buttonId, BM_SETCHECK, BST_UNCHECKED, 0); };
}

void OnNextDialog(std::vector<DialogAction> actions, DialogView* view) {
  OnNextDialog([actions = std::move(actions), view](HWND dialog) {
    if (view) Record(dialog, *view);
    for (const DialogAction& action : actions) action(dialog);
  });
}
