#include "Afx.h"

namespace {

CWinApp* theApplication = nullptr;

// The host's state: resources come from the program that loaded the library,
// which the dialog manager reads from a null module handle.
AFX_MODULE_STATE hostState{nullptr};
AFX_MODULE_STATE libraryState{nullptr};
AFX_MODULE_STATE* currentState = &hostState;

} // namespace

CWinApp::CWinApp(const char16_t*) { theApplication = this; }

BOOL CWinApp::InitInstance() { return TRUE; }

AFX_MODULE_STATE* AfxGetStaticModuleState() { return &libraryState; }

HINSTANCE AfxGetResourceHandle() { return currentState->m_hCurrentResourceHandle; }

BOOL AfxDllAttach(HINSTANCE library) {
  libraryState.m_hCurrentResourceHandle = library;
  return theApplication ? theApplication->InitInstance() : FALSE;
}

AFX_MAINTAIN_STATE2::AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* state) : previous_(currentState) {
  currentState = state;
}

AFX_MAINTAIN_STATE2::~AFX_MAINTAIN_STATE2() { currentState = previous_; }
