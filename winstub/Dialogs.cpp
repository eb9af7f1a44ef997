// The dialog manager of windows.h, without a screen: dialogs built from the
// DLGTEMPLATEEX records of a module's compiled resources, their controls
// (buttons, edit boxes, statics, combo boxes) answering the window messages
// as Windows' do, and a driver that plays the user.
#include "WinStub.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

const WORD kResourceDialog = 5;
const DWORD kDialogSetFont = 0x40 | 0x48; // DS_SETFONT, DS_SHELLFONT

struct Window {
  WinStubControl control{};
  std::u16string text;
  std::vector<std::u16string> items; // a combo box's list
  int selection = CB_ERR;
  bool checked = false;
  struct Dialog* dialog = nullptr;
};

// A top-level window: a dialog, or one of the program's own (TopWindow).
struct TopLevel {
  bool enabled = true;
};

struct TopWindow : TopLevel {
  std::u16string text;
};

struct Dialog : TopLevel {
  DLGPROC procedure = nullptr;
  HWND owner = nullptr;
  std::u16string caption;
  WinStubDialogFrame frame{};
  std::vector<std::unique_ptr<Window>> controls;
  bool ended = false;
  INT_PTR result = 0;
};

struct Manager {
  std::map<HINSTANCE, std::vector<uint8_t>> resources;
  WinStubDialogDriver driver = nullptr;
  void* context = nullptr;
  std::vector<Dialog*> open;
  std::vector<std::unique_ptr<TopWindow>> windows;
  HWND active = nullptr;
};

Manager& State() {
  static Manager manager;
  return manager;
}

// Reads the little-endian records of a resource.
class Reader {
public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool ok() const { return ok_; }
  size_t pos() const { return pos_; }
  void Seek(size_t pos) { pos_ = pos, ok_ = ok_ && pos <= size_; }
  void Align(size_t to) { Seek((pos_ + to - 1) / to * to); }
  void Skip(size_t bytes) { Seek(pos_ + bytes); }
  // A little-endian number of up to 4 bytes.
  uint32_t Read(size_t bytes) {
    if (!ok_ || size_ - pos_ < bytes) return ok_ = false, 0;
    uint32_t value = 0;
    for (size_t i = 0; i < bytes; ++i) value |= uint32_t(data_[pos_ + i]) << (8 * i);
    pos_ += bytes;
    return value;
  }
  std::u16string Text() {
    std::u16string text;
    for (char16_t c; ok_ && (c = char16_t(Read(2))) != 0;) text.push_back(c);
    return text;
  }
  // A name or ordinal: the ordinal, or 0 with the name in text.
  WORD NameOrOrdinal(std::u16string& text) {
    WORD first = WORD(Read(2));
    if (first == 0xFFFF) return WORD(Read(2));
    text.clear();
    if (first == 0) return 0;
    text.push_back(char16_t(first));
    text += Text();
    return 0;
  }
  const uint8_t* At(size_t pos) const { return data_ + pos; }

private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  bool ok_ = true;
};

// The dialog template `id` in a .res file's bytes, or empty.
std::vector<uint8_t> FindDialogTemplate(const std::vector<uint8_t>& res, WORD id) {
  Reader r(res.data(), res.size());
  while (r.ok() && r.pos() + 8 <= res.size()) {
    size_t start = r.pos();
    uint32_t dataSize = r.Read(4), headerSize = r.Read(4);
    std::u16string name;
    WORD type = r.NameOrOrdinal(name);
    WORD ordinal = r.NameOrOrdinal(name);
    size_t data = start + headerSize;
    if (!r.ok() || data + dataSize > res.size()) break;
    if (type == kResourceDialog && ordinal == id)
      return std::vector<uint8_t>(res.begin() + data, res.begin() + data + dataSize);
    r.Seek(data + dataSize);
    r.Align(4);
  }
  return {};
}

WORD ClassOrdinal(WORD ordinal, const std::u16string& name) {
  if (ordinal) return ordinal;
  std::u16string upper = name;
  for (char16_t& c : upper) c = c >= u'a' && c <= u'z' ? c - 32 : c;
  return upper == u"BUTTON"     ? WINSTUB_CLASS_BUTTON
         : upper == u"EDIT"     ? WINSTUB_CLASS_EDIT
         : upper == u"STATIC"   ? WINSTUB_CLASS_STATIC
         : upper == u"COMBOBOX" ? WINSTUB_CLASS_COMBO
                                : 0;
}

// Builds a dialog from a DLGTEMPLATEEX; false when the record is not one.
bool BuildDialog(const std::vector<uint8_t>& bytes, Dialog& dialog) {
  Reader r(bytes.data(), bytes.size());
  if (r.Read(2) != 1 || r.Read(2) != 0xFFFF) return false;
  r.Skip(8); // help id, extended style
  DWORD style = r.Read(4);
  WORD count = WORD(r.Read(2));
  r.Skip(4); // position
  dialog.frame.cx = short(r.Read(2)), dialog.frame.cy = short(r.Read(2));
  std::u16string name;
  r.NameOrOrdinal(name); // menu
  r.NameOrOrdinal(name); // class
  dialog.caption = r.Text();
  if (style & kDialogSetFont) {
    dialog.frame.pointSize = WORD(r.Read(2));
    r.Skip(4); // weight, italic, character set
    std::u16string typeface = r.Text();
    typeface.resize(std::min<size_t>(typeface.size(), 31));
    std::copy(typeface.begin(), typeface.end(), dialog.frame.typeface);
  }
  for (WORD i = 0; i < count && r.ok(); ++i) {
    r.Align(4);
    auto window = std::make_unique<Window>();
    WinStubControl& c = window->control;
    r.Skip(8); // help id, extended style
    c.style = r.Read(4);
    c.x = short(r.Read(2)), c.y = short(r.Read(2)), c.cx = short(r.Read(2)),
    c.cy = short(r.Read(2));
    c.id = int(int32_t(r.Read(4)));
    std::u16string className;
    c.kind = ClassOrdinal(r.NameOrOrdinal(className), className);
    WORD textOrdinal = r.NameOrOrdinal(window->text);
    if (textOrdinal) window->text.clear();
    WORD creationData = WORD(r.Read(2));
    r.Seek(r.pos() + creationData);
    window->dialog = &dialog;
    dialog.controls.push_back(std::move(window));
  }
  return r.ok();
}

Window* WindowOf(HWND handle) {
  for (Dialog* dialog : State().open)
    for (auto& control : dialog->controls)
      if (reinterpret_cast<HWND>(control.get()) == handle) return control.get();
  return nullptr;
}

Dialog* DialogOf(HWND handle) {
  for (Dialog* dialog : State().open)
    if (reinterpret_cast<HWND>(dialog) == handle) return dialog;
  return nullptr;
}

HWND Handle(Dialog* dialog) { return reinterpret_cast<HWND>(dialog); }

TopWindow* TopWindowOf(HWND handle) {
  for (auto& window : State().windows)
    if (reinterpret_cast<HWND>(window.get()) == handle) return window.get();
  return nullptr;
}

TopLevel* TopLevelOf(HWND handle) {
  if (Dialog* dialog = DialogOf(handle)) return dialog;
  return TopWindowOf(handle);
}

bool IsRadio(const Window& w) {
  DWORD type = w.control.style & 0xF;
  return w.control.kind == WINSTUB_CLASS_BUTTON &&
         (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
}

// A click on an automatic radio button checks it and clears its group.
void ClickRadio(Window& button) {
  auto& controls = button.dialog->controls;
  auto at = std::find_if(controls.begin(), controls.end(),
                         [&](const auto& c) { return c.get() == &button; });
  auto first = at;
  while (first != controls.begin() && !((*first)->control.style & WS_GROUP)) --first;
  for (auto it = first; it != controls.end(); ++it) {
    if (it != first && ((*it)->control.style & WS_GROUP)) break;
    if (IsRadio(**it)) (*it)->checked = it == at;
  }
}

LRESULT CopyText(const std::u16string& text, WPARAM units, LPARAM buffer) {
  if (!buffer || units == 0) return 0;
  size_t count = std::min<size_t>(text.size(), units - 1);
  char16_t* out = reinterpret_cast<char16_t*>(buffer);
  std::copy(text.begin(), text.begin() + count, out);
  out[count] = 0;
  return LRESULT(count);
}

LRESULT ComboMessage(Window& combo, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case CB_ADDSTRING: {
    std::u16string item = reinterpret_cast<const char16_t*>(lParam);
    auto at = combo.items.end();
    if (combo.control.style & CBS_SORT)
      at = std::upper_bound(combo.items.begin(), combo.items.end(), item);
    return LRESULT(combo.items.insert(at, item) - combo.items.begin());
  }
  case CB_SETCURSEL:
    combo.selection = int(wParam) >= 0 && wParam < combo.items.size() ? int(wParam) : CB_ERR;
    return combo.selection;
  case CB_GETCURSEL:
    return combo.selection;
  case CB_GETCOUNT:
    return LRESULT(combo.items.size());
  case CB_GETLBTEXTLEN:
    return wParam < combo.items.size() ? LRESULT(combo.items[wParam].size()) : CB_ERR;
  case CB_GETLBTEXT:
    if (wParam >= combo.items.size()) return CB_ERR;
    return CopyText(combo.items[wParam], combo.items[wParam].size() + 1, lParam);
  }
  return 0;
}

} // namespace

extern "C" {

void WinStubRegisterResources(HINSTANCE module, const void* res, size_t size) {
  if (!module) return; // a module always has a handle
  const uint8_t* bytes = static_cast<const uint8_t*>(res);
  State().resources[module] = std::vector<uint8_t>(bytes, bytes + size);
}

void WinStubSetDialogDriver(WinStubDialogDriver driver, void* context) {
  State().driver = driver;
  State().context = context;
}

int WinStubDialogControls(HWND handle, WinStubControl* out, HWND* windows, int capacity) {
  Dialog* dialog = DialogOf(handle);
  if (!dialog) return 0;
  int count = int(dialog->controls.size());
  for (int i = 0; i < count && i < capacity; ++i) {
    if (out) out[i] = dialog->controls[i]->control;
    if (windows) windows[i] = reinterpret_cast<HWND>(dialog->controls[i].get());
  }
  return count;
}

BOOL WinStubGetDialogFrame(HWND handle, WinStubDialogFrame* out) {
  Dialog* dialog = DialogOf(handle);
  if (!dialog || !out) return FALSE;
  *out = dialog->frame;
  return TRUE;
}

INT_PTR DialogBoxParamW(HINSTANCE module, LPCWSTR templateName, HWND owner, DLGPROC procedure,
                        LPARAM initParam) {
  Manager& m = State();
  auto resources = m.resources.find(module);
  uintptr_t id = reinterpret_cast<uintptr_t>(templateName);
  if (resources == m.resources.end() || id > 0xFFFF || !procedure || !m.driver) return -1;
  std::vector<uint8_t> bytes = FindDialogTemplate(resources->second, WORD(id));
  Dialog dialog;
  if (bytes.empty() || !BuildDialog(bytes, dialog)) return -1;
  dialog.procedure = procedure;
  dialog.owner = TopLevelOf(owner) ? owner : nullptr;
  bool ownerDisabled = dialog.owner && IsWindowEnabled(dialog.owner);
  if (ownerDisabled) EnableWindow(dialog.owner, FALSE);
  HWND activeBefore = m.active;
  m.open.push_back(&dialog);
  m.active = Handle(&dialog);
  // As Windows does, the dialog hears of its font before its start.
  procedure(Handle(&dialog), WM_SETFONT, 0, FALSE);
  procedure(Handle(&dialog), WM_INITDIALOG, 0, initParam);
  procedure(Handle(&dialog), WM_SHOWWINDOW, TRUE, 0);
  if (!dialog.ended) m.driver(Handle(&dialog), m.context);
  if (!dialog.ended) procedure(Handle(&dialog), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  if (!dialog.ended) EndDialog(Handle(&dialog), IDCANCEL);
  procedure(Handle(&dialog), WM_DESTROY, 0, 0);
  m.open.erase(std::find(m.open.begin(), m.open.end(), &dialog));
  if (ownerDisabled) EnableWindow(dialog.owner, TRUE);
  m.active = dialog.owner ? dialog.owner : activeBefore;
  return dialog.result;
}

BOOL EndDialog(HWND handle, INT_PTR result) {
  Dialog* dialog = DialogOf(handle);
  if (!dialog) return FALSE;
  dialog->ended = true;
  dialog->result = result;
  return TRUE;
}

HWND GetDlgItem(HWND handle, int id) {
  Dialog* dialog = DialogOf(handle);
  if (!dialog) return nullptr;
  for (auto& control : dialog->controls)
    if (control->control.id == id) return reinterpret_cast<HWND>(control.get());
  return nullptr;
}

LRESULT SendMessageW(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  if (Dialog* dialog = DialogOf(handle)) {
    if (message == WM_SETTEXT) dialog->caption = reinterpret_cast<const char16_t*>(lParam);
    if (message == WM_GETTEXT) return CopyText(dialog->caption, wParam, lParam);
    if (message == WM_GETTEXTLENGTH) return LRESULT(dialog->caption.size());
    if (message == WM_COMMAND || message == WM_CLOSE) {
      if (message == WM_CLOSE) wParam = MAKEWPARAM(IDCANCEL, BN_CLICKED), lParam = 0;
      return dialog->procedure(handle, WM_COMMAND, wParam, lParam);
    }
    return 0;
  }
  Window* window = WindowOf(handle);
  if (!window) return 0;
  switch (message) {
  case WM_SETTEXT:
    window->text = lParam ? reinterpret_cast<const char16_t*>(lParam) : u"";
    return TRUE;
  case WM_GETTEXT:
    return CopyText(window->text, wParam, lParam);
  case WM_GETTEXTLENGTH:
    return LRESULT(window->text.size());
  case BM_GETCHECK:
    return window->checked ? BST_CHECKED : BST_UNCHECKED;
  case BM_SETCHECK:
    window->checked = wParam == BST_CHECKED;
    return 0;
  case BM_CLICK:
    if (window->control.kind != WINSTUB_CLASS_BUTTON) return 0;
    if (IsRadio(*window) && (window->control.style & 0xF) == BS_AUTORADIOBUTTON)
      ClickRadio(*window);
    return window->dialog->procedure(Handle(window->dialog), WM_COMMAND,
                                     MAKEWPARAM(window->control.id, BN_CLICKED), LPARAM(handle));
  }
  return window->control.kind == WINSTUB_CLASS_COMBO
             ? ComboMessage(*window, message, wParam, lParam)
             : 0;
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageW(GetDlgItem(dialog, id), message, wParam, lParam);
}

BOOL SetWindowTextW(HWND window, LPCWSTR text) {
  return BOOL(SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextW(HWND window, LPWSTR text, int units) {
  return int(SendMessageW(window, WM_GETTEXT, WPARAM(units), reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthW(HWND window) { return int(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)); }

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
  return SetWindowTextW(GetDlgItem(dialog, id), text);
}

BOOL CheckRadioButton(HWND dialog, int first, int last, int checked) {
  for (int id = first; id <= last; ++id)
    SendDlgItemMessageW(dialog, id, BM_SETCHECK, id == checked ? BST_CHECKED : BST_UNCHECKED, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  return UINT(SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0));
}

LONG GetWindowLongW(HWND handle, int index) {
  Window* window = WindowOf(handle);
  return window && index == GWL_STYLE ? LONG(window->control.style) : 0;
}

HWND CreateWindowExW(DWORD, LPCWSTR, LPCWSTR windowName, DWORD, int, int, int, int, HWND, HMENU,
                     HINSTANCE, LPVOID) {
  auto window = std::make_unique<TopWindow>();
  if (windowName) window->text = windowName;
  State().windows.push_back(std::move(window));
  return reinterpret_cast<HWND>(State().windows.back().get());
}

BOOL DestroyWindow(HWND handle) {
  Manager& m = State();
  auto it = std::find_if(m.windows.begin(), m.windows.end(), [&](const auto& window) {
    return reinterpret_cast<HWND>(window.get()) == handle;
  });
  if (it == m.windows.end()) return FALSE;
  if (m.active == handle) m.active = nullptr;
  m.windows.erase(it);
  return TRUE;
}

HWND GetActiveWindow(void) { return State().active; }

HWND SetActiveWindow(HWND window) {
  Manager& m = State();
  HWND before = m.active;
  if (!TopLevelOf(window)) return nullptr;
  m.active = window;
  return before;
}

HWND GetAncestor(HWND window, UINT flags) {
  if (flags != GA_ROOT) return nullptr;
  if (TopLevelOf(window)) return window;
  Window* control = WindowOf(window);
  return control ? Handle(control->dialog) : nullptr;
}

HWND GetWindow(HWND window, UINT command) {
  Dialog* dialog = DialogOf(window);
  return dialog && command == GW_OWNER ? dialog->owner : nullptr;
}

// The previous state, as Windows answers: non-zero when it was disabled.
BOOL EnableWindow(HWND window, BOOL enable) {
  TopLevel* top = TopLevelOf(window);
  if (!top) return FALSE;
  BOOL wasDisabled = !top->enabled;
  top->enabled = enable != FALSE;
  return wasDisabled;
}

// A dialog is visible from its start until EndDialog.
BOOL IsWindowVisible(HWND window) {
  Dialog* dialog = DialogOf(window);
  return dialog && !dialog->ended;
}

BOOL IsWindowEnabled(HWND window) {
  TopLevel* top = TopLevelOf(window);
  return top && top->enabled;
}

} // extern "C"
