// The library: every process-wide global of the plug-in, in one place and in
// the order of construction (destroyed in reverse when the library unloads),
// then its start-up, which runs the application's InitInstance. Nothing is
// read from the registry at load.
#include "PickState.h"
#include "Settings.h"
#include "TriSpanApp.h"
#include "WidthStep.h"

CString settingsSubKey = kSettingsSubKey;
SettingsRecord TriSpanSettings;
PickStateRecord PickState;
bool settingsDialogOpen = false;
CTriSpanApp theApp;

#ifdef _WIN32
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  return reason == DLL_PROCESS_ATTACH ? AfxDllAttach(instance) : TRUE;
}
#else
#include "EmbeddedFile.h"
#include "WinStub.h"
#include <dlfcn.h>

// The resources as windres compiled them (built in by res/CMakeLists.txt).
extern const EmbeddedFile kTriSpanResources[];

namespace {
HINSTANCE ThisLibrary() {
  Dl_info info{};
  dladdr(reinterpret_cast<void*>(&ThisLibrary), &info);
  return static_cast<HINSTANCE>(info.dli_fbase);
}
// Makes the compiled resources known, then runs the start-up; initialised
// after theApp, as it is defined after it in this file.
BOOL Attach() {
  WinStubRegisterResources(ThisLibrary(), kTriSpanResources[0].bytes, kTriSpanResources[0].size);
  return AfxDllAttach(ThisLibrary());
}
const BOOL attached = Attach();
} // namespace
#endif
