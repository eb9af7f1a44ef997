#include "Options.h"

#include "Exit.h"
#include "Help.h"
#include "Language.h"

#include <CLI/CLI.hpp>

#include <iostream>

namespace vekhost {

namespace {

void AddOptions(CLI::App& app, Options& options) {
  app.allow_windows_style_options(false); // paths under Wine start with /
  app.option_defaults()->group(Tr("Options"));
  app.set_help_flag("-h,--help", Tr("Show this help and stop"));
  app.get_formatter()->label("Usage", Tr("Usage"));
  app.get_formatter()->label("Positionals", Tr("Positionals"));
  app.get_formatter()->label("OPTIONS", Tr("OPTIONS"));
  app.add_option("drawing", options.drawing, Tr("The drawing, a JSON file"));
  app.add_option("script", options.script,
                 Tr("The events, one a line; without it, the terminal's"));
  app.add_option("--plugin", options.plugin,
                 Tr("The plug-in to load (default: the one beside vekhost)"));
  app.add_option("--json", options.json,
                 Tr("Where the resulting drawing goes (default: DRAWING.result.json here)"));
  app.add_option("--svg", options.svg, Tr("Where the picture goes (default: DRAWING.svg here)"));
  app.add_flag("--journal", options.journal, Tr("Show every call the plug-in makes to the host"));
  app.add_option("--registry", options.registry,
                 Tr("The file that keeps the settings (Linux; default: $WINSTUB_REGISTRY or "
                    "~/.config/vekhost/registry.reg)"));
  app.add_flag("--settings", options.showSettings,
               Tr("Show where the settings are and what they hold"));
  app.add_flag("--reset-settings", options.resetSettings,
               Tr("Delete the stored settings, so that the defaults come back"));
  app.add_flag("--serve", options.serve,
               Tr("Play the session in a web browser: a local server on port 8750 (or the next "
                  "free one); Linux"));
  app.add_option("--port", options.port, Tr("The port for --serve (an error when it is taken)"))
      ->check(CLI::Range(1, 65535));
  app.add_option("--listen", options.listen,
                 Tr("The address --serve listens on (default 127.0.0.1, this machine alone)"));
  app.add_option("--lang", options.language,
                 Tr("The language of vekhost's own texts: ko (Korean) or en (English); default: "
                    "the locale's (LANG)"))
      ->check(CLI::IsMember({"ko", "en"}));
}

} // namespace

void CheckOptions(const Options& options) {
  if (options.drawing.empty() && !options.showSettings && !options.resetSettings)
    Fail(Tr("no drawing given (see vekhost --help)"));
#ifdef _WIN32
  if (options.serve) Fail(Tr("--serve is a feature of the Linux build of vekhost"));
#endif
  if (options.serve && !options.script.empty())
    Fail(Tr("--serve takes the events from the browser: no script with it"));
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
    Fail(Fill(Tr("{} (see vekhost --help)"), {error.what()}));
  }
  return true;
}

} // namespace vekhost
