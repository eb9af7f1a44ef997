#ifndef TRISPAN_PLUGIN_TRISPANAPP_H
#define TRISPAN_PLUGIN_TRISPANAPP_H

#include "Afx.h"

// The library's application object; it handles no messages of its own.
class CTriSpanApp : public CWinApp {
public:
  CTriSpanApp() : CWinApp(nullptr) {}
  BOOL InitInstance() override;
};

extern CTriSpanApp theApp;

#endif
