#include "Terminal.h"

#include "Help.h"
#include "Interrupt.h"
#include "Language.h"

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#ifdef _WIN32
#include "Utf.h"

#include <io.h>
#include <streambuf>
#include <string>
#include <windows.h>
#else
#include <editline/readline.h>
#include <langinfo.h>
#include <sys/select.h>
#include <unistd.h>
#endif

namespace vekhost {

namespace {

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

#ifndef _WIN32
// A line typed at the terminal with line editing and history; false at the
// end of input, and at Ctrl-C, which wakes the wait.
bool EditLine(std::string& line) {
  static std::string* typed = nullptr;
  static bool done = false, ended = false;
  typed = &line;
  done = ended = false;
  rl_catch_signals = 0;
  rl_callback_handler_install("> ", [](char* text) {
    done = true;
    ended = text == nullptr;
    if (!text) return;
    *typed = text;
    if (*text) add_history(text);
    std::free(text);
  });
  while (!done && !Interrupted()) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(STDIN_FILENO, &ready);
    int wake = InterruptDescriptor();
    if (wake >= 0) FD_SET(wake, &ready);
    if (select(std::max(STDIN_FILENO, wake) + 1, &ready, nullptr, nullptr, nullptr) > 0 &&
        FD_ISSET(STDIN_FILENO, &ready))
      rl_callback_read_char();
  }
  rl_callback_handler_remove();
  if (!done || ended) std::cout << "\n";
  return done && !ended;
}
#endif

// The next line typed: with line editing and history at a terminal.
bool ReadLine(bool terminal, std::string& line) {
  if (Interrupted()) return false;
#ifdef _WIN32
  if (terminal) {
    std::cout << "> " << std::flush;
    return ReadConsoleLine(line);
  }
#else
  if (terminal) return EditLine(line);
#endif
  return static_cast<bool>(std::getline(std::cin, line)) && !Interrupted();
}

} // namespace

TerminalSource::TerminalSource(const Drawing& drawing)
    : drawing_(drawing), terminal_(StdinIsTerminal()) {
  if (terminal_) std::cout << Tr("Type events (help lists them), quit to stop.") << "\n";
}

std::optional<ScriptEvent> TerminalSource::Next() {
  std::string line;
  while (ReadLine(terminal_, line)) {
    ++number_;
    if (line == "quit" || line == "exit") return std::nullopt;
    if (line == "help") {
      std::cout << Description() << "\n" << Glossary();
      continue;
    }
    try {
      // Typed at the terminal, a line needs no number; piped in, it does.
      std::string place = terminal_ ? "" : Fill(Tr("line {}"), {std::to_string(number_)});
      if (auto event = ParseEvent(line, drawing_, place)) return event;
    } catch (const InputError& error) {
      std::cout << "  " << error.what() << "\n";
    }
  }
  return std::nullopt;
}

#ifdef _WIN32
namespace {

// Text for the console in UTF-16, as WriteConsoleW takes it: the console
// then shows Korean whatever its code page (and under Wine whatever the
// terminal's). The bytes of a character cut by the buffer's end wait for
// the rest of it.
class ConsoleBuffer : public std::streambuf {
public:
  explicit ConsoleBuffer(HANDLE console) : console_(console) {}

protected:
  int_type overflow(int_type c) override {
    if (c != traits_type::eof()) bytes_.push_back(char(c));
    if (bytes_.size() >= kWriteAt) Write();
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    bytes_.append(text, size_t(count));
    if (bytes_.size() >= kWriteAt) Write();
    return count;
  }
  int sync() override {
    Write();
    return 0;
  }

private:
  static constexpr size_t kWriteAt = 4096; // bytes kept before they go to the console

  void Write() {
    size_t whole = bytes_.size();
    // Leave out a character's leading bytes whose rest has not come yet.
    for (size_t back = 1; back <= 3 && back <= whole; ++back) {
      unsigned char c = uint8_t(bytes_[whole - back]);
      if ((c & 0xC0) != 0x80) {
        size_t length = std::max<size_t>(utf::SequenceLength(c), 1);
        if (length > back) whole -= back;
        break;
      }
    }
    std::u16string text = utf::ToUtf16(std::string_view(bytes_).substr(0, whole));
    DWORD written = 0;
    if (!text.empty()) WriteConsoleW(console_, text.data(), DWORD(text.size()), &written, nullptr);
    bytes_.erase(0, whole);
  }

  HANDLE console_;
  std::string bytes_;
};

// Sends a stream to the console in UTF-16 when the handle is a console; a
// file or a pipe keeps the UTF-8 bytes.
void WriteToConsole(std::ostream& stream, DWORD handle) {
  HANDLE console = GetStdHandle(handle);
  DWORD mode = 0;
  if (!GetConsoleMode(console, &mode)) return;
  stream.flush();
  // Never freed: the streams flush into it until the process's very end.
  stream.rdbuf(new ConsoleBuffer(console));
}

} // namespace
#endif

void SetUpTerminalText() {
#ifdef _WIN32
  SetConsoleOutputCP(CP_UTF8); // the prompts are Korean, written as UTF-8
  WriteToConsole(std::cout, STD_OUTPUT_HANDLE);
  WriteToConsole(std::cerr, STD_ERROR_HANDLE);
#else
  // Line editing reads UTF-8 whatever the environment's locale says.
  if (!std::setlocale(LC_CTYPE, "") || std::string(nl_langinfo(CODESET)) != "UTF-8")
    std::setlocale(LC_CTYPE, "C.UTF-8");
#endif
}

} // namespace vekhost
