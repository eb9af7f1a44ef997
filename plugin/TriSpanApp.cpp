#include "TriSpanApp.h"

BOOL CTriSpanApp::InitInstance() {
  CWinApp::InitInstance();
  return TRUE;
}
