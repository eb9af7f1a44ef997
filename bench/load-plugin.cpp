// Loads a plug-in the way the host does, calls its Startup and exits: for
// timing a plug-in's load as a whole process.
//   load-plugin PLUGIN
#include "SimHost.h"

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: load-plugin PLUGIN\n");
    return 2;
  }
  int32_t result = SimLoadPlugin(argv[1]);
  if (result == SIM_LOAD_FAILED) std::fprintf(stderr, "load-plugin: %s\n", SimLastError());
  SimUnloadPlugin();
  return result == 0 ? 0 : 1;
}
