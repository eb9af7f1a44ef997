// vekhost: runs TriSpan the way the host CAD program does, without it.
#include "DrawingFile.h"
#include "Exit.h"
#include "Files.h"
#include "Interrupt.h"
#include "Language.h"
#include "Options.h"
#include "Printable.h"
#include "ResultFiles.h"
#include "SettingsTable.h"
#include "StoredSettings.h"
#include "Terminal.h"
#include "Utf.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string_view>

#ifdef _WIN32
#include <windows.h>
const char kPluginName[] = "TriSpan.dll";
#else
#include "Serve.h"
#include "WinStub.h"
#include <unistd.h>
const char kPluginName[] = "TriSpan.so";
#endif

using namespace vekhost;

namespace {

std::string ProgramFolder(const char* argv0) {
  char path[4096] = {};
#ifdef _WIN32
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path - 1);
  std::string text = length > 0 ? std::string(path, length) : argv0;
#else
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  std::string text = length > 0 ? std::string(path, size_t(length)) : argv0;
#endif
  return text.substr(0, text.find_last_of("\\/") + 1);
}

std::string Stem(const std::string& path) {
  std::string name = path.substr(path.find_last_of("\\/") + 1);
  return name.substr(0, name.rfind('.'));
}

#ifndef _WIN32
// A settings file --registry names: a file, or none yet in a folder that is
// there; nothing is created for it here.
void CheckSettingsFile(const std::string& path) {
  files::Files& files = files::RealFiles();
  if (files.Stat(path).folder) Fail(Fill(Tr("--registry {}: is a folder, not a file"), {path}));
  std::string folder = files::FolderOf(files.FollowLinks(path));
  files::FileInfo info = files.Stat(folder);
  if (!info.folder)
    Fail(Fill(Tr(info.exists ? "--registry {}: {} is not a folder (nothing was created)"
                             : "--registry {}: {} does not exist (nothing was created)"),
              {path, folder}));
}
#endif

// The registry the settings live in: Windows' own, or the file --registry
// names (nothing read or made yet).
void ChooseSettings(const Options& options) {
#ifdef _WIN32
  if (!options.registry.empty())
    Fail(Fill(Tr("--registry: the Windows build keeps the settings in the Windows registry "
                 "(HKEY_CURRENT_USER\\{}), not in a file"),
              {utf::ToUtf8(MakeSettingsKey(kSettingsSubKey))}));
#else
  if (!options.registry.empty()) CheckSettingsFile(options.registry);
  if (!options.registry.empty()) UseSettingsFile(options.registry);
#endif
}

// A settings file that cannot be read stops the run, unless it is to be
// reset: then it is kept aside.
void OpenSettings(const Options& options) {
#ifndef _WIN32
  std::string broken = SettingsFileError();
  if (broken.empty()) return;
  if (!options.resetSettings)
    Fail(Fill(Tr("{}: the settings file is left as it is (vekhost --reset-settings keeps it as "
                 "a .bak file and starts again from the defaults)"),
              {broken}));
  std::cout << Tr("settings:") << " " << broken << "\n  "
            << Fill(Tr("kept as {}"), {SetBrokenSettingsAside()}) << "\n";
#else
  (void)options;
#endif
}

// Two names of one file: the same file once links are followed, or the same
// place for files that are not there yet.
bool SameFile(const std::string& a, const std::string& b) {
  files::Files& files = files::RealFiles();
  files::FileInfo x = files.Stat(a), y = files.Stat(b);
  if (x.exists || y.exists) return x.SameFileAs(y);
  auto place = [&](const std::string& path) {
    std::error_code ignored;
    return std::filesystem::weakly_canonical(std::filesystem::absolute(files.FollowLinks(path)),
                                             ignored);
  };
  return place(a) == place(b);
}

struct NamedFile {
  const char* what; // in English, given to Tr
  std::string path, option;
};

// No output replaces an input or another output.
void CheckOutputs(const std::vector<NamedFile>& inputs, const std::vector<NamedFile>& outputs) {
  for (size_t i = 0; i < outputs.size(); ++i) {
    const NamedFile& out = outputs[i];
    for (const NamedFile& in : inputs)
      if (SameFile(out.path, in.path))
        Fail(Fill(Tr("{} {} is {}: vekhost never writes over its input ({} names another file)"),
                  {Tr(out.what), out.path, Tr(in.what), out.option}));
    for (size_t j = i + 1; j < outputs.size(); ++j)
      if (SameFile(out.path, outputs[j].path))
        Fail(Fill(Tr("{} {} and {} {} are one file ({} or {} names another)"),
                  {Tr(out.what), out.path, Tr(outputs[j].what), outputs[j].path, out.option,
                   outputs[j].option}));
  }
}

struct Inputs {
  Drawing drawing;
  std::vector<ScriptEvent> script;
  ResultPaths results;
};

// Every input read and checked, and every output found writable, before
// anything runs or is stored.
Inputs ReadInputs(const Options& options) {
  Inputs inputs;
  try {
    if (!options.drawing.empty()) inputs.drawing = LoadDrawing(options.drawing);
    if (!options.script.empty() && options.script != "-")
      inputs.script = LoadScript(options.script, inputs.drawing);
  } catch (const InputError& error) {
    Fail(error.what());
  }
  if (options.drawing.empty()) return inputs;
  std::string stem = Stem(options.drawing);
  inputs.results.json = options.json.empty() ? stem + ".result.json" : options.json;
  inputs.results.svg = options.svg.empty() ? stem + ".svg" : options.svg;
  inputs.results.session = NewSessionMark();
  return inputs;
}

// Every output checked against the inputs and found writable, before
// anything runs or is stored.
void CheckOutputs(const Options& options, const Inputs& inputs) {
  std::vector<NamedFile> in, out;
  if (!options.drawing.empty()) in.push_back({N_("the drawing"), options.drawing, ""});
  if (!options.script.empty() && options.script != "-")
    in.push_back({N_("the script"), options.script, ""});
  if (!options.drawing.empty()) {
    out.push_back({N_("the result file"), inputs.results.json, "--json"});
    out.push_back({N_("the picture"), inputs.results.svg, "--svg"});
  }
#ifndef _WIN32
  out.push_back({N_("the settings file"), WinStubRegistryFile(), "--registry"});
#endif
  CheckOutputs(in, out);
  if (options.drawing.empty()) return;
  CheckWritable(files::RealFiles(), inputs.results.json);
  CheckWritable(files::RealFiles(), inputs.results.svg);
}

// Why a plug-in did not load: the loader's reason, or that the file is the
// other system's build, which a person easily hands over by mistake.
std::string LoadFailure(const std::string& plugin) {
  std::ifstream in(plugin, std::ios::binary);
  char magic[4] = {};
  in.read(magic, sizeof magic);
#ifdef _WIN32
  if (std::string_view(magic, 4) == "\x7F"
                                    "ELF")
    return Fill(Tr("{}: is a Linux library; vekhost.exe loads the Windows build's {}"),
                {plugin, kPluginName});
#else
  if (std::string_view(magic, 2) == "MZ")
    return Fill(Tr("{}: is a Windows DLL; vekhost on Linux loads the Linux build's {}"),
                {plugin, kPluginName});
#endif
  return SimLastError();
}

void LoadPlugin(std::string plugin, const char* argv0) {
  if (plugin.empty()) plugin = ProgramFolder(argv0) + kPluginName;
  int32_t registered = SimLoadPlugin(plugin.c_str());
  if (registered == SIM_LOAD_FAILED) Fail(LoadFailure(plugin), kExitPlugin);
  if (registered != 0)
    Fail(Fill(Tr("{}: Startup returned {}"), {plugin, std::to_string(registered)}), kExitPlugin);
  std::cout << Tr("plug-in:") << " " << plugin << "\n";
}

// Ends a command still running and writes the results; the exit status.
int EndSession(Session& session, const Inputs& inputs) {
  if (session.Running()) session.Finish();
  WriteResults(files::RealFiles(), inputs.drawing, session.Notes(), inputs.results);
  return session.SettingsLost() ? kExitNotWritten : kExitDone;
}

#ifndef _WIN32
// The session in a browser. It ends while the server still runs: a failure
// to write the results is told here rather than thrown through its threads.
int ServeSession(const Options& options, HttpServer& server, Session& session, Inputs& inputs) {
  int status = kExitDone;
  WatchTemporaryFiles();
  Serve(server, options.listen, inputs.drawing, session, [&] {
    try {
      status = EndSession(session, inputs);
    } catch (const Failure& failure) {
      std::cerr << "vekhost: " << failure.what << "\n";
      status = failure.status;
    }
  });
  return status;
}

// The server listening, before anything is loaded or any file touched.
std::unique_ptr<HttpServer> Listen(const Options& options) {
  if (!options.serve) return nullptr;
  try {
    return ListenForSession(options.listen, options.port);
  } catch (const InputError& error) {
    Fail(error.what());
  }
}
#else
struct HttpServer {};
std::unique_ptr<HttpServer> Listen(const Options&) { return nullptr; }
#endif

int PlaySession(const Options& options, Inputs& inputs, HttpServer* server) {
  PlaceDrawing(inputs.drawing);
  PrintChangedSettings(std::cout);
  Session session(inputs.drawing, std::cout, options.journal);
  session.Start();
#ifndef _WIN32
  if (server) return ServeSession(options, *server, session, inputs);
#else
  (void)server;
#endif
  CatchInterrupts();
  if (options.script.empty() || options.script == "-") {
    TerminalSource source(inputs.drawing);
    session.Run(source);
  } else {
    ScriptSource source(std::move(inputs.script));
    session.Run(source);
  }
  return EndSession(session, inputs);
}

int Run(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) return kExitDone;
  CheckOptions(options);
  ChooseSettings(options);
  Inputs inputs = ReadInputs(options);
  CheckOutputs(options, inputs);
  std::unique_ptr<HttpServer> server = Listen(options);
  OpenSettings(options);
  if (options.resetSettings) {
    if (!ResetSettings()) Fail(Tr("the settings could not be deleted"), kExitNotWritten);
    std::cout << Tr("settings reset: the next command start writes the defaults") << "\n";
  }
  if (options.showSettings) PrintSettings(std::cout);
  if (options.drawing.empty()) return kExitDone;
  LoadPlugin(options.plugin, argv[0]);
  int status = PlaySession(options, inputs, server.get());
  SimUnloadPlugin();
  return status;
}

} // namespace

int main(int argc, char** argv) {
  SetUpTerminalText();
  SetLanguage(StartLanguage(argc, argv));
  EscapeControlsOf(std::cout);
  EscapeControlsOf(std::cerr);
  try {
    return Run(argc, argv);
  } catch (const Failure& failure) {
    std::cerr << "vekhost: " << failure.what << "\n";
    return failure.status;
  } catch (const std::exception& error) {
    std::cerr << "vekhost: " << Tr("internal error:") << " " << error.what() << "\n";
  } catch (...) {
    std::cerr << "vekhost: " << Tr("internal error") << "\n";
  }
  return kExitInternal;
}
