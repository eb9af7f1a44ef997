// Controls for the Linux stand-in registry, for vekhost and the tests.
//
// The stand-in keeps HKEY_CURRENT_USER in one file in the format of a
// Windows registry export (regedit's "Windows Registry Editor Version 5.00",
// UTF-16LE), so settings survive between runs and carry over to Windows.
// The file is read at the first registry access and written after every
// change. A file that cannot be parsed is never overwritten: every registry
// call then fails with ERROR_BADDB.
#ifndef TRISPAN_WINSTUB_WINSTUB_H
#define TRISPAN_WINSTUB_WINSTUB_H

#include "windows.h"

extern "C" {
// Keeps the registry in this file from now on (read at the next access).
// Without a call: $WINSTUB_REGISTRY, else $XDG_CONFIG_HOME/vekhost/registry.reg
// (~/.config when unset).
WINSTUB_API void WinStubSetRegistryFile(const char* path);
// The file in use.
WINSTUB_API const char* WinStubRegistryFile(void);
// Why the file could not be read, or "" when it was read or did not exist.
WINSTUB_API const char* WinStubRegistryError(void);

// Failures to inject, by kind of call; 0 for none.
enum {
  WINSTUB_FAIL_OPEN = 1,   // RegOpenKeyExW: ERROR_ACCESS_DENIED
  WINSTUB_FAIL_QUERY = 2,  // RegQueryValueExW: ERROR_ACCESS_DENIED
  WINSTUB_FAIL_CREATE = 4, // RegCreateKeyExW: ERROR_ACCESS_DENIED
  WINSTUB_FAIL_SET = 8,    // RegSetValueExW: ERROR_ACCESS_DENIED
};
WINSTUB_API void WinStubSetRegistryFailures(unsigned flags);
}

#endif
