// vekhost: runs TriSpan the way the host CAD program does, without it.
#include "Session.h"
#include "Svg.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <fstream>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
const char kPluginName[] = "TriSpan.dll";
#else
#include "WinStub.h"
#include <editline/readline.h>
#include <unistd.h>
const char kPluginName[] = "TriSpan.so";
#endif

using namespace vekhost;

namespace {

const char kDescription[] =
    "vekhost loads the TriSpan plug-in the way the Vek CAD program does, puts a drawing into a\n"
    "simulated host and plays a session: the events of a script, or those typed at the terminal.\n"
    "It shows every prompt, cursor text and error the command puts, and writes the drawing\n"
    "afterwards as JSON (new and changed notes) and as an SVG picture.\n\n"
    "Drawing files are JSON (see examples/ and vekhost/Drawing.h). A script has one event a line:\n"
    "  pick NAME [X Y]      pick an element by its name\n"
    "  point X Y [on NAME]  a data point, on the named element or on none\n"
    "  motion X Y           the cursor moves\n"
    "  further X Y          the further position event\n"
    "  keyin [TEXT]         typed text, the rest of the line as typed\n"
    "  end                  the end button\n"
    "  start                start the command again\n"
    "  dialog select LIST N | dialog click BUTTON | dialog type EDIT TEXT\n"
    "                       play the settings dialog, which the end button at the width\n"
    "                       step opens; lists round, frame-dim, frame-char, frame-cmd;\n"
    "                       buttons font-external, font-windows, ok, cancel; edits\n"
    "                       connector, width, height, pitch, x, y, prefix\n"
    "  # comment\n"
    "Without a script, events are read from the terminal (help, quit).\n\n"
    "Exit status: 0 done, 1 the plug-in could not be loaded or registered, 2 bad options or files.";

struct Options {
  std::string drawing, script, plugin, json, svg, registry;
  bool journal = false, showSettings = false, resetSettings = false;
};

[[noreturn]] void Fail(const std::string& what, int status = 2) {
  std::cerr << "vekhost: " << what << "\n";
  std::exit(status);
}

std::string ProgramFolder(const char* argv0) {
#ifdef _WIN32
  char path[4096] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path - 1);
  std::string text = length > 0 ? std::string(path, length) : argv0;
#else
  char path[4096] = {};
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  std::string text = length > 0 ? std::string(path, size_t(length)) : argv0;
#endif
  return text.substr(0, text.find_last_of("\\/") + 1);
}

std::string Stem(const std::string& path) {
  std::string name = path.substr(path.find_last_of("\\/") + 1);
  return name.substr(0, name.rfind('.'));
}

bool StdinIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stdin));
#else
  return isatty(STDIN_FILENO);
#endif
}

// The next line typed: with line editing and history at a terminal.
bool ReadLine(bool terminal, std::string& line) {
#ifndef _WIN32
  if (terminal) {
    char* typed = readline("> ");
    if (!typed) return false;
    line = typed;
    if (!line.empty()) add_history(typed);
    std::free(typed);
    return true;
  }
#endif
  if (terminal) std::cout << "> " << std::flush;
  return static_cast<bool>(std::getline(std::cin, line));
}

// Events typed at the terminal; a line that is no event is answered there.
class TerminalSource : public EventSource {
public:
  explicit TerminalSource(const Drawing& drawing)
      : drawing_(drawing), terminal_(StdinIsTerminal()) {
    if (terminal_) std::cout << "Type events (help lists them), quit to stop.\n";
  }

protected:
  std::optional<ScriptEvent> Read() override {
    std::string line;
    while (ReadLine(terminal_, line)) {
      ++number_;
      if (line == "quit" || line == "exit") return std::nullopt;
      if (line == "help") {
        std::cout << kDescription << "\n";
        continue;
      }
      try {
        if (auto event = ParseEvent(line, drawing_, "line " + std::to_string(number_)))
          return event;
      } catch (const InputError& error) {
        std::cout << "  " << error.what() << "\n";
      }
    }
    return std::nullopt;
  }

private:
  const Drawing& drawing_;
  bool terminal_;
  int number_ = 0;
};

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  if (!out.write(text.data(), std::streamsize(text.size()))) Fail(path + ": cannot be written", 1);
}

void Report(const Drawing& drawing, const Options& options) {
  std::vector<ResultNote> notes = ResultNotes(drawing);
  for (const ResultNote& note : notes) {
    if (!note.isNew && !note.changed) continue;
    const SimNote& s = note.state;
    std::cout << "note: " << ReadableText(s.text) << "  ("
              << (note.isNew ? "new" : "changed: " + note.name) << ", at " << s.x << ", " << s.y
              << " in the " << (s.frame == FRAME_TITLE ? "title" : "figure") << " frame)\n";
  }
  WriteFile(options.json, ResultJson(notes));
  WriteFile(options.svg, DrawingSvg(drawing, notes));
  std::cout << "drawing: " << options.json << "\npicture: " << options.svg << "\n";
}

} // namespace

int main(int argc, char** argv) {
  Options options;
  CLI::App app(kDescription, "vekhost");
  app.allow_windows_style_options(false); // paths under Wine start with /
  app.add_option("drawing", options.drawing, "The drawing, a JSON file");
  app.add_option("script", options.script, "The events, one a line; without it, the terminal's");
  app.add_option("--plugin", options.plugin,
                 "The plug-in to load (default: the one beside vekhost)");
  app.add_option("--json", options.json,
                 "Where the resulting drawing goes (default: DRAWING.result.json here)");
  app.add_option("--svg", options.svg, "Where the picture goes (default: DRAWING.svg here)");
  app.add_flag("--journal", options.journal, "Show every call the plug-in makes to the host");
#ifndef _WIN32
  app.add_option("--registry", options.registry,
                 "The file that keeps the settings (default: $WINSTUB_REGISTRY or "
                 "~/.config/vekhost/registry.reg)");
#endif
  app.add_flag("--settings", options.showSettings,
               "Show where the settings are and what they hold");
  app.add_flag("--reset-settings", options.resetSettings,
               "Delete the stored settings, so that the defaults come back");
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
    return 0;
  } catch (const CLI::ParseError& error) {
    Fail(std::string(error.what()) + " (see vekhost --help)");
  }

#ifndef _WIN32
  if (!options.registry.empty()) WinStubSetRegistryFile(options.registry.c_str());
  if (*WinStubRegistryError())
    Fail(std::string(WinStubRegistryError()) + ": the settings file is left as it is");
#endif
  if (options.drawing.empty() && !options.showSettings && !options.resetSettings)
    Fail("no drawing given (see vekhost --help)");

  // Every input is read and checked before anything runs or is stored.
  Drawing drawing;
  std::vector<ScriptEvent> script;
  try {
    if (!options.drawing.empty()) drawing = LoadDrawing(options.drawing);
    if (!options.script.empty() && options.script != "-")
      script = LoadScript(options.script, drawing);
  } catch (const InputError& error) {
    Fail(error.what());
  }

  if (options.resetSettings) {
    if (!ResetSettings()) Fail("the settings could not be deleted", 1);
    std::cout << "settings reset: the next command start writes the defaults\n";
  }
  if (options.showSettings) PrintSettings(std::cout);
  if (options.drawing.empty()) return 0;

  if (options.plugin.empty()) options.plugin = ProgramFolder(argv[0]) + kPluginName;
  if (options.json.empty()) options.json = Stem(options.drawing) + ".result.json";
  if (options.svg.empty()) options.svg = Stem(options.drawing) + ".svg";

  int32_t registered = SimLoadPlugin(options.plugin.c_str());
  if (registered == SIM_LOAD_FAILED) Fail(SimLastError(), 1);
  if (registered != 0) Fail(options.plugin + ": Startup returned " + std::to_string(registered), 1);
  PlaceDrawing(drawing);
  std::cout << "plug-in: " << options.plugin << "\n";

  Session session(drawing, std::cout, options.journal);
  session.Start();
  if (options.script.empty() || options.script == "-") {
    TerminalSource source(drawing);
    session.Run(source);
  } else {
    ScriptSource source(std::move(script));
    session.Run(source);
  }
  if (session.Running()) session.Finish();
  Report(drawing, options);
  SimUnloadPlugin();
  return 0;
}
