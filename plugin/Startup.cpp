// The plug-in's one export.
#include "CommandLifecycle.h"
#include "VekLib.h"

extern "C" int32_t Startup(void) {
  return VekCtlRegisterVekLib2(StartCommand, QueryStart, EndCommand) > 0 ? 0 : -1;
}
