// The least of MFC that TriSpan needs, for both builds: UTF-16 text, the DLL
// application object with its start-up, and module states, so that a dialog
// opened from a host callback takes its template from the plug-in's own
// resources rather than the host's.
#ifndef TRISPAN_AFX_AFX_H
#define TRISPAN_AFX_AFX_H

#include "CString.h"

#include <windows.h>

// The application object of a DLL: one per library, constructed with the
// library's globals; AfxDllAttach runs its InitInstance once the library is
// loaded.
class CWinApp {
public:
  // A library's application has no name of its own: null.
  explicit CWinApp(const char16_t* appName = nullptr);
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;
  virtual ~CWinApp() = default;
  // TRUE lets the library load.
  virtual BOOL InitInstance();
};

// Which module resources come from.
struct AFX_MODULE_STATE {
  HINSTANCE m_hCurrentResourceHandle;
};

// This library's own module state.
AFX_MODULE_STATE* AfxGetStaticModuleState();
// The module whose resources are used now.
HINSTANCE AfxGetResourceHandle();

// The library's start-up, from its entry point: records the library's module
// in its own module state and runs the application's InitInstance.
BOOL AfxDllAttach(HINSTANCE library);

// Makes a module state current for the guard's lifetime and restores the one
// before on every way out.
class AFX_MAINTAIN_STATE2 {
public:
  explicit AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* state);
  ~AFX_MAINTAIN_STATE2();
  AFX_MAINTAIN_STATE2(const AFX_MAINTAIN_STATE2&) = delete;
  AFX_MAINTAIN_STATE2& operator=(const AFX_MAINTAIN_STATE2&) = delete;

private:
  AFX_MODULE_STATE* previous_;
};

#endif
