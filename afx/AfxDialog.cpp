#include "AfxDialog.h"

#include <map>
#include <vector>

namespace {

// The dialogs now open, by window: the dialog procedure's way back to them.
std::map<HWND, CDialog*>& OpenDialogs() {
  static std::map<HWND, CDialog*> dialogs;
  return dialogs;
}

// The open dialog of a window; null for one not, or no longer, open.
CDialog* DialogOf(HWND window) {
  auto it = OpenDialogs().find(window);
  return it == OpenDialogs().end() ? nullptr : it->second;
}

LPCWSTR Wide(const CString& text) { return reinterpret_cast<LPCWSTR>(text.c_str()); }

// The owner of a dialog opened without a parent, as MFC takes it: the
// calling thread's active window, up to its top-level window.
HWND SafeOwner() {
  HWND active = GetActiveWindow();
  return active ? GetAncestor(active, GA_ROOT) : nullptr;
}

bool IsRadioButton(HWND control) {
  LONG type = GetWindowLongW(control, GWL_STYLE) & 0xF;
  return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

} // namespace

int CComboBox::AddString(const CString& text) {
  return int(SendMessageW(m_hWnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text))));
}

int CComboBox::SetCurSel(int index) {
  return int(SendMessageW(m_hWnd, CB_SETCURSEL, WPARAM(index), 0));
}

int CComboBox::GetCurSel() const { return int(SendMessageW(m_hWnd, CB_GETCURSEL, 0, 0)); }

CDialog::CDialog(UINT templateId) : templateId_(templateId) {}

CDialog::~CDialog() = default;

// DialogBoxParamW disables the owner while the dialog runs and enables it
// again when the dialog ends.
INT_PTR CDialog::DoModal() {
  return DialogBoxParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(templateId_), SafeOwner(),
                         DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange exchange{this, saveAndValidate};
  DoDataExchange(&exchange);
  return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (UpdateData(TRUE)) EndDialog(m_hWnd, IDOK);
}

void CDialog::OnCancel() { EndDialog(m_hWnd, IDCANCEL); }

BOOL CDialog::OnCommand(int, UINT) { return FALSE; }

INT_PTR CALLBACK CDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    CDialog* self = reinterpret_cast<CDialog*>(lParam);
    self->m_hWnd = dialog;
    OpenDialogs()[dialog] = self;
    return self->OnInitDialog();
  }
  CDialog* self = DialogOf(dialog);
  if (!self) return FALSE; // a message before WM_INITDIALOG or after WM_DESTROY
  if (message == WM_COMMAND) {
    int id = LOWORD(wParam);
    UINT code = HIWORD(wParam);
    if (id == IDOK && code == BN_CLICKED) return self->OnOK(), TRUE;
    if (id == IDCANCEL && code == BN_CLICKED) return self->OnCancel(), TRUE;
    return self->OnCommand(id, code);
  }
  if (message == WM_DESTROY) {
    OpenDialogs().erase(dialog);
    self->m_hWnd = nullptr;
  }
  return FALSE;
}

void DDX_Control(CDataExchange* exchange, int id, CComboBox& control) {
  if (!control.m_hWnd) control.m_hWnd = GetDlgItem(exchange->m_pDlgWnd->GetSafeHwnd(), id);
}

void DDX_Radio(CDataExchange* exchange, int firstId, int& value) {
  HWND dialog = exchange->m_pDlgWnd->GetSafeHwnd();
  if (exchange->m_bSaveAndValidate) value = -1;
  for (int index = 0;; ++index) {
    HWND button = GetDlgItem(dialog, firstId + index);
    if (!button || !IsRadioButton(button) ||
        (index > 0 && (GetWindowLongW(button, GWL_STYLE) & WS_GROUP)))
      break;
    if (exchange->m_bSaveAndValidate) {
      if (SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
    } else {
      SendMessageW(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
    }
  }
}

void DDX_Text(CDataExchange* exchange, int id, CString& value) {
  HWND control = GetDlgItem(exchange->m_pDlgWnd->GetSafeHwnd(), id);
  if (!exchange->m_bSaveAndValidate) {
    SetWindowTextW(control, Wide(value));
    return;
  }
  int length = GetWindowTextLengthW(control);
  std::vector<char16_t> text(size_t(length) + 1, u'\0');
  GetWindowTextW(control, reinterpret_cast<LPWSTR>(text.data()), length + 1);
  value = CString(text.data());
}
