// vekhost's command line.
#ifndef TRISPAN_VEKHOST_OPTIONS_H
#define TRISPAN_VEKHOST_OPTIONS_H

#include <string>

namespace vekhost {

struct Options {
  std::string drawing, script, plugin, json, svg, registry;
  bool journal = false, showSettings = false, resetSettings = false, serve = false;
  int port = 0; // 0: the default port, or the next free one
  std::string listen = "127.0.0.1";
  std::string language; // --lang, read before the rest: see StartLanguage
};

// Reads the command line into options; false when it asked for help, which
// is shown. Throws Failure for options it cannot take.
bool ParseOptions(int argc, char** argv, Options& options);

// Throws Failure for options that do not go together.
void CheckOptions(const Options& options);

} // namespace vekhost

#endif
