// MFC's modal dialog, in the least form: a dialog run from a template in the
// current module's resources, data exchange between controls and members in
// both directions, and a message map from control notifications to handlers.
#ifndef TRISPAN_AFX_AFXDIALOG_H
#define TRISPAN_AFX_AFXDIALOG_H

#include "Afx.h"

class CDialog;

// Which way an exchange goes: into the controls, or back into the members.
struct CDataExchange {
  CDialog* m_pDlgWnd;
  BOOL m_bSaveAndValidate;
};

// A combo box control, reached through its window messages.
class CComboBox {
public:
  int AddString(const CString& text);
  // Selects a position; a position outside the list leaves none selected.
  int SetCurSel(int index);
  // The selected position, or CB_ERR for none.
  int GetCurSel() const;

  HWND m_hWnd = nullptr;
};

class CDialog {
public:
  // A dialog from the template, without a parent window.
  explicit CDialog(UINT templateId);
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;
  virtual ~CDialog();

  // Runs the dialog modal to the active window's top-level window (none
  // when no window is active), which is disabled while the dialog is open;
  // IDOK, IDCANCEL, or -1 when it cannot be shown.
  INT_PTR DoModal();
  // Exchanges the members into the controls (FALSE) or back (TRUE).
  BOOL UpdateData(BOOL saveAndValidate);
  HWND GetSafeHwnd() const { return m_hWnd; }

protected:
  virtual void DoDataExchange(CDataExchange* exchange);
  // Exchanges the members into the controls; TRUE lets the dialog manager
  // set the focus.
  virtual BOOL OnInitDialog();
  // Exchanges the controls into the members and ends with IDOK.
  virtual void OnOK();
  virtual void OnCancel();
  // A notification from a control; TRUE when a handler took it.
  virtual BOOL OnCommand(int id, UINT code);

  HWND m_hWnd = nullptr;

private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

  UINT templateId_;
};

// One line of a dialog's message map: a notification of a control and the
// handler it calls.
template <class Dialog> struct AfxMessageEntry {
  UINT code;
  int id;
  void (Dialog::*handler)();
};

// Calls the handler that the map names for the notification; TRUE if any.
template <class Dialog, size_t N>
BOOL AfxDispatchCommand(Dialog* dialog, const AfxMessageEntry<Dialog> (&map)[N], int id,
                        UINT code) {
  for (const AfxMessageEntry<Dialog>& entry : map) {
    if (entry.id == id && entry.code == code) {
      (dialog->*entry.handler)();
      return TRUE;
    }
  }
  return FALSE;
}

// Binds a combo box control to its member.
void DDX_Control(CDataExchange* exchange, int id, CComboBox& control);
// Binds a radio group, from its first button to the next group, to the
// index of the checked button (-1 for none).
void DDX_Radio(CDataExchange* exchange, int firstId, int& value);
// Binds an edit box to its text.
void DDX_Text(CDataExchange* exchange, int id, CString& value);

#endif
