// vekhost: runs TriSpan the way the host CAD program does, without it.
#include "Session.h"
#include "Svg.h"

#include <CLI/CLI.hpp>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
const char kPluginName[] = "TriSpan.dll";
#else
#include "Serve.h"
#include "WinStub.h"
#include <editline/readline.h>
#include <langinfo.h>
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
    "Drawing files are JSON (see docs/drawing-format.md and examples/). A script has one event\n"
    "a line:\n"
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
    "  names                list the drawing's elements; show: the settings form again\n"
    "  # comment\n"
    "Without a script, events are read from the terminal (help also explains the Korean\n"
    "prompts and the dialog, quit stops).\n\n"
    "Exit status: 0 done; 1 the plug-in could not be loaded or registered; 2 bad options or\n"
    "input files (the settings file included); 3 the results or the settings could not be\n"
    "written; 70 an unexpected internal error.";

// What "help" adds at the terminal: the Korean texts in English and the
// events in the host's terms.
const char kGlossary[] =
    "\nEvents in the host's terms:\n"
    "  pick      EVT_PICK (1): an element picked through the step's filter (a left click on it)\n"
    "  point     EVT_POINT (2): a data point, on an element or on none (a left click)\n"
    "  motion    a cursor motion (EVT_POINT marked as motion): the note step shows a preview\n"
    "  further   kind 3, a further position event: the note step takes it as a data point,\n"
    "            the other steps as a wrong indication\n"
    "  keyin     EVT_KEYIN (5): typed text, such as a length\n"
    "  end       EVT_END (7): the end button (a right click)\n"
    "  names     the drawing's elements; show: the settings form again; quit: stop\n"
    "\nPrompts and cursor texts:\n"
    "  가로치수선택 : (종료버튼:Dialog)  pick the width dimension; end opens the settings dialog\n"
    "  세로치수선택 :     pick the length dimension, give two points, or type the length\n"
    "  높이치수선택 :     pick the height dimension, give two points, or type the height;\n"
    "                    end leaves the height out\n"
    "  포인트 입력 :      give the second point (cursor 세로: of the length, 높이: of the height)\n"
    "  주기위치지시 혹은 주기선택 <종료버튼-표제프레임으로 변경> :\n"
    "                    point where the note goes, or pick a general note to replace its\n"
    "                    text; end switches to the title frame (도형프레임: the figure frame)\n"
    "  cursor 도형 / 표제  the figure frame / the title frame is current\n"
    "\nError lines:\n"
    "  치수치 검출에러(1). (2). (3).  the width / length / height dimension has no measure\n"
    "  치수주기 검출에러   the width dimension's texts cannot be read\n"
    "  치수속성 검출에러   the width dimension's mark cannot be read\n"
    "  잘못된 지시.        this step does not take that kind of indication: the command ends\n"
    "  주기속성 검출에러   the picked element is no note\n"
    "  일반주기를 선택하셔야 합니다.  pick a general note\n"
    "  주기생성 에러       the note could not be created: nothing was written\n"
    "\nThe settings dialog (가로x세로x높이):\n"
    "  자리수설정 (round)          decimals of the note: 0 to 3, or 치수값 그대로, as the\n"
    "                              dimensions show them\n"
    "  Ø 문자설정 (font-...)        the diameter sign: 외자등록 Ø사용, the registered character\n"
    "                              U+E000; 윈도우 폰트 Ø사용, the Windows font's U+E11D\n"
    "  치수문자 연결자 (connector)  the text between the measures\n"
    "  치수문자 크기 (width, height, pitch)  the new note's character size\n"
    "  배치위치(기준점에서) X축 Y축 (x, y)  the new note's offset from the indicated point\n"
    "  프레임이동(치수선택시 / 주기입력시 / 명령종료후) (frame-dim / frame-char / frame-cmd)\n"
    "                              the frame at the start / at the note step / after the\n"
    "                              command: 도형프레임으로 이동 the figure frame, 표제프레임으로\n"
    "                              이동 the title frame, 현재프레임 그대로 as it is, 프레임\n"
    "                              원래대로 back to the frame of the start\n"
    "  전주기 (prefix)             a text put in front of the note\n"
    "  확인 / 취소 (ok / cancel)   OK / Cancel\n";

struct Options {
  std::string drawing, script, plugin, json, svg, registry;
  bool journal = false, showSettings = false, resetSettings = false, serve = false;
  int port = 0;
  std::string listen = "127.0.0.1";
};

enum ExitStatus {
  EXIT_DONE = 0,
  EXIT_PLUGIN = 1,      // the plug-in could not be loaded or registered
  EXIT_INPUT = 2,       // bad options or input files
  EXIT_NOT_WRITTEN = 3, // results or settings could not be written
  EXIT_INTERNAL = 70,   // an unexpected internal error
};

// Ends the run with one line; main turns it into the exit status.
struct Failure {
  std::string what;
  int status;
};

[[noreturn]] void Fail(const std::string& what, int status = EXIT_INPUT) {
  throw Failure{what, status};
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

#ifdef _WIN32
// A line typed at the console, as UTF-8 whatever the console's code page.
bool ReadConsoleLine(std::string& line) {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  std::wstring typed;
  wchar_t buffer[256];
  DWORD count = 0;
  while (ReadConsoleW(input, buffer, 256, &count, nullptr) && count > 0) {
    typed.append(buffer, count);
    if (typed.back() == L'\n') break;
  }
  if (typed.empty()) return false;
  while (!typed.empty() && (typed.back() == L'\n' || typed.back() == L'\r')) typed.pop_back();
  int bytes = WideCharToMultiByte(CP_UTF8, 0, typed.data(), int(typed.size()), nullptr, 0, nullptr,
                                  nullptr);
  line.assign(size_t(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, typed.data(), int(typed.size()), line.data(), bytes, nullptr,
                      nullptr);
  return true;
}
#endif

// The next line typed: with line editing and history at a terminal.
bool ReadLine(bool terminal, std::string& line) {
#ifdef _WIN32
  if (terminal) {
    std::cout << "> " << std::flush;
    return ReadConsoleLine(line);
  }
#else
  if (terminal) {
    char* typed = readline("> ");
    if (!typed) return false;
    line = typed;
    if (!line.empty()) add_history(typed);
    std::free(typed);
    return true;
  }
#endif
  return static_cast<bool>(std::getline(std::cin, line));
}

// Events typed at the terminal; a line that is no event is answered there.
class TerminalSource : public EventSource {
public:
  explicit TerminalSource(const Drawing& drawing)
      : drawing_(drawing), terminal_(StdinIsTerminal()) {
    if (terminal_) std::cout << "Type events (help lists them), quit to stop.\n";
  }
  // The terminal shows what was typed already.
  bool Echoes() const override { return !terminal_; }

protected:
  std::optional<ScriptEvent> Read() override {
    std::string line;
    while (ReadLine(terminal_, line)) {
      ++number_;
      if (line == "quit" || line == "exit") return std::nullopt;
      if (line == "help") {
        std::cout << kDescription << "\n" << kGlossary;
        continue;
      }
      try {
        // Typed at the terminal, a line needs no number; piped in, it does.
        std::string place = terminal_ ? "" : "line " + std::to_string(number_);
        if (auto event = ParseEvent(line, drawing_, place)) return event;
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
  if (!out.write(text.data(), std::streamsize(text.size())))
    Fail(path + ": cannot be written", EXIT_NOT_WRITTEN);
}

// Finds out before the session whether an output can be written there; an
// output that did not exist is not left behind.
void CheckWritable(const std::string& path) {
  std::error_code code;
  if (std::filesystem::is_directory(path, code))
    Fail(path + ": is a folder, not a file", EXIT_NOT_WRITTEN);
  bool existed = std::filesystem::exists(path, code);
  if (!std::ofstream(path, std::ios::binary | std::ios::app))
    Fail(path + ": cannot be written", EXIT_NOT_WRITTEN);
  if (!existed) std::filesystem::remove(path, code);
}

void Report(const Drawing& drawing, const Options& options) {
  std::vector<ResultNote> notes = ResultNotes(drawing);
  for (const ResultNote& note : notes)
    if (note.isNew || note.changed) std::cout << "note: " << NoteLine(note) << "\n";
  WriteFile(options.json, ResultJson(notes));
  WriteFile(options.svg, DrawingSvg(drawing, notes));
  std::cout << "drawing: " << options.json << "\npicture: " << options.svg << "\n";
}

// Ends a command still running and writes the results; the exit status.
int EndSession(Session& session, const Drawing& drawing, const Options& options) {
  if (session.Running()) session.Finish();
  Report(drawing, options);
  return session.SettingsLost() ? EXIT_NOT_WRITTEN : EXIT_DONE;
}

#ifndef _WIN32
// Keeps the unreadable settings file as FILE.bak (FILE.bak.2, ... when that is
// taken) and starts from an empty registry; the backup's name.
std::string SetBrokenSettingsAside() {
  std::string file = WinStubRegistryFile(), backup = file + ".bak";
  std::error_code code;
  for (int n = 2; std::filesystem::exists(backup, code); ++n)
    backup = file + ".bak." + std::to_string(n);
  std::filesystem::rename(file, backup, code);
  if (code) Fail(file + ": cannot be moved aside: " + code.message(), EXIT_NOT_WRITTEN);
  WinStubSetRegistryFile(file.c_str());
  return backup;
}
#endif

int Run(int argc, char** argv) {
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
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
    return EXIT_DONE;
  } catch (const CLI::ParseError& error) {
    Fail(std::string(error.what()) + " (see vekhost --help)");
  }

#ifdef _WIN32
  if (!options.registry.empty())
    Fail("--registry: the Windows build keeps the settings in the Windows registry "
         "(HKEY_CURRENT_USER\\SOFTWARE\\Quorvane\\VEK\\TriSpan), not in a file");
#else
  if (!options.registry.empty()) WinStubSetRegistryFile(options.registry.c_str());
  if (*WinStubRegistryError()) {
    if (!options.resetSettings)
      Fail(std::string(WinStubRegistryError()) +
           ": the settings file is left as it is (vekhost --reset-settings keeps it as a .bak "
           "file and starts again from the defaults)");
    std::string broken = WinStubRegistryError();
    std::cout << "settings: " << broken << "\n  kept as " << SetBrokenSettingsAside() << "\n";
  }
#endif
  if (options.drawing.empty() && !options.showSettings && !options.resetSettings)
    Fail("no drawing given (see vekhost --help)");
#ifdef _WIN32
  if (options.serve) Fail("--serve is a feature of the Linux build of vekhost");
#endif
  if (options.serve && !options.script.empty())
    Fail("--serve takes the events from the browser: no script with it");

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
  if (!options.drawing.empty()) {
    if (options.json.empty()) options.json = Stem(options.drawing) + ".result.json";
    if (options.svg.empty()) options.svg = Stem(options.drawing) + ".svg";
    CheckWritable(options.json);
    CheckWritable(options.svg);
  }

  if (options.resetSettings) {
    if (!ResetSettings()) Fail("the settings could not be deleted", EXIT_NOT_WRITTEN);
    std::cout << "settings reset: the next command start writes the defaults\n";
  }
  if (options.showSettings) PrintSettings(std::cout);
  if (options.drawing.empty()) return EXIT_DONE;

  if (options.plugin.empty()) options.plugin = ProgramFolder(argv[0]) + kPluginName;
  int32_t registered = SimLoadPlugin(options.plugin.c_str());
  if (registered == SIM_LOAD_FAILED) Fail(SimLastError(), EXIT_PLUGIN);
  if (registered != 0)
    Fail(options.plugin + ": Startup returned " + std::to_string(registered), EXIT_PLUGIN);
  PlaceDrawing(drawing);
  std::cout << "plug-in: " << options.plugin << "\n";
  PrintChangedSettings(std::cout);

  Session session(drawing, std::cout, options.journal);
  session.Start();
#ifndef _WIN32
  if (options.serve) {
    ServeOptions serve;
    serve.listen = options.listen;
    serve.portGiven = options.port != 0;
    serve.port = serve.portGiven ? options.port : kDefaultPort;
    int status = EXIT_DONE;
    try {
      // The session ends while the server still runs: a failure to write
      // the results is told here rather than thrown through its threads.
      Serve(drawing, session, serve, [&] {
        try {
          status = EndSession(session, drawing, options);
        } catch (const Failure& failure) {
          std::cerr << "vekhost: " << failure.what << "\n";
          status = failure.status;
        }
      });
    } catch (const InputError& error) {
      Fail(error.what());
    }
    SimUnloadPlugin();
    return status;
  }
#endif
  if (options.script.empty() || options.script == "-") {
    TerminalSource source(drawing);
    session.Run(source);
  } else {
    ScriptSource source(std::move(script));
    session.Run(source);
  }
  int status = EndSession(session, drawing, options);
  SimUnloadPlugin();
  return status;
}

} // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  SetConsoleOutputCP(CP_UTF8); // the prompts are Korean, written as UTF-8
#else
  // Line editing reads UTF-8 whatever the environment's locale says.
  if (!std::setlocale(LC_CTYPE, "") || std::string(nl_langinfo(CODESET)) != "UTF-8")
    std::setlocale(LC_CTYPE, "C.UTF-8");
#endif
  try {
    return Run(argc, argv);
  } catch (const Failure& failure) {
    std::cerr << "vekhost: " << failure.what << "\n";
    return failure.status;
  } catch (const std::exception& error) {
    std::cerr << "vekhost: internal error: " << error.what() << "\n";
  } catch (...) {
    std::cerr << "vekhost: internal error\n";
  }
  return EXIT_INTERNAL;
}
