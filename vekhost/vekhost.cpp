// vekhost: loads TriSpan the way the host does, starts the command, shows
// what the plug-in put up and ends the command with the end button.
//
//   vekhost [PLUGIN]   (default: the plug-in beside this program)
#include "SimHost.h"

#include <cstdio>
#include <string>

#ifdef _WIN32
#include <windows.h>
const char kPluginName[] = "TriSpan.dll";
#else
#include <unistd.h>
const char kPluginName[] = "TriSpan.so";
#endif

namespace {

std::string ProgramFolder() {
  char path[4096] = {};
#ifdef _WIN32
  GetModuleFileNameA(nullptr, path, sizeof path - 1);
  std::string text = path;
  return text.substr(0, text.find_last_of("\\/") + 1);
#else
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  std::string text(path, length > 0 ? size_t(length) : 0);
  return text.substr(0, text.find_last_of('/') + 1);
#endif
}

} // namespace

int main(int argc, char **argv) {
  std::string plugin = argc > 1 ? argv[1] : ProgramFolder() + kPluginName;
  int32_t registered = SimLoadPlugin(plugin.c_str());
  if (registered == SIM_LOAD_FAILED) {
    std::fprintf(stderr, "vekhost: %s\n", SimLastError());
    return 2;
  }
  if (registered != 0) {
    std::fprintf(stderr, "vekhost: Startup returned %d: the command is not registered\n",
                 registered);
    return 1;
  }
  SimStartCommand();
  std::printf("prompt: %s\n", SimPrompt());
  SimEvent end{};
  end.kind = EVT_END;
  SimSendEvent(&end);
  std::printf("command %s\n\nhost calls:\n", SimCommandRunning() ? "still running" : "ended");
  for (int32_t i = 0; i < SimJournalSize(); ++i) std::printf("  %s\n", SimJournalEntry(i));
  SimUnloadPlugin();
  return 0;
}
