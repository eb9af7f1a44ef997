// A plug-in that registers nothing: the yardstick for TriSpan.dll's size and
// its load and Startup time.
#include "VekLib.h"

extern "C" int32_t Startup(void) { return 0; }
