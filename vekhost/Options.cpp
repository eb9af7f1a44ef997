#include "Options.h"

#include "Exit.h"
#include "Help.h"

#include <CLI/CLI.hpp>

#include <iostream>

namespace vekhost {

namespace {

void AddOptions(CLI::App& app, Options& options) {
  app.allow_windows_style_options(false); // paths under Wine start with /
  app.add_option("drawing", options.drawing, "The drawing, a JSON file");
  app.add_option("script", options.script, "The events, one a line; without it, the terminal's");
  app.add_option("--plugin", options.plugin,
                 "The plug-in to load (default: the one beside vekhost)");
  app.add_option("--json", options.json,
                 "Where the resulting drawing goes (default: DRAWING.result.json here)");
  app.add_option("--svg", options.svg, "Where the picture goes (default: DRAWING.svg here)");
  app.add_flag("--journal", options.journal, "Show every call the plug-in makes to the host");
  app.add_option("--registry", options.registry,
                 "The file that keeps the settings (Linux; default: $WINSTUB_REGISTRY or "
                 "~/.config/vekhost/registry.reg)");
  app.add_flag("--settings", options.showSettings,
               "Show where the settings are and what they hold");
  app.add_flag("--reset-settings", options.resetSettings,
               "Delete the stored settings, so that the defaults come back");
  app.add_flag("--serve", options.serve,
               "Play the session in a web browser: a local server on port 8750 (or the next "
               "free one); Linux");
  app.add_option("--port", options.port, "The port for --serve (an error when it is taken)")
      ->check(CLI::Range(1, 65535));
  app.add_option("--listen", options.listen,
                 "The address --serve listens on (default 127.0.0.1, this machine alone)");
}

} // namespace

void CheckOptions(const Options& options) {
  if (options.drawing.empty() && !options.showSettings && !options.resetSettings)
    Fail("no drawing given (see vekhost --help)");
#ifdef _WIN32
  if (options.serve) Fail("--serve is a feature of the Linux build of vekhost");
#endif
  if (options.serve && !options.script.empty())
    Fail("--serve takes the events from the browser: no script with it");
}

bool ParseOptions(int argc, char** argv, Options& options) {
  CLI::App app(Description(), "vekhost");
  AddOptions(app, options);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
    return false;
  } catch (const CLI::ParseError& error) {
    Fail(std::string(error.what()) + " (see vekhost --help)");
  }
  return true;
}

} // namespace vekhost
