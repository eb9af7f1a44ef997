#include "Afx.h"

namespace {

CWinApp* theApplication = nullptr;

// The host's state: resources come from the program that loaded the library.
AFX_MODULE_STATE hostState{nullptr};
AFX_MODULE_STATE libraryState{nullptr};
AFX_MODULE_STATE* currentState = &hostState;

} // namespace

CWinApp::CWinApp(const char16_t* appName) : m_pszAppName(appName) { theApplication = this; }

CWinApp::~CWinApp() {
  if (theApplication == this) theApplication = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

CWinApp* AfxGetApp() { return theApplication; }

AFX_MODULE_STATE* AfxGetModuleState() { return currentState; }

AFX_MODULE_STATE* AfxGetStaticModuleState() { return &libraryState; }

HINSTANCE AfxGetResourceHandle() { return currentState->m_hCurrentResourceHandle; }

BOOL AfxDllAttach(HINSTANCE library) {
#ifdef _WIN32
  hostState.m_hCurrentResourceHandle = GetModuleHandleW(nullptr);
#endif
  libraryState.m_hCurrentResourceHandle = library;
  return theApplication ? theApplication->InitInstance() : FALSE;
}

AFX_MAINTAIN_STATE2::AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* state) : previous_(currentState) {
  currentState = state;
}

AFX_MAINTAIN_STATE2::~AFX_MAINTAIN_STATE2() { currentState = previous_; }
