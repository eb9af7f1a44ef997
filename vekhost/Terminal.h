// Events typed at the terminal: with line editing and history where stdin is
// a terminal (Korean included whatever the locale), plain lines otherwise.
#ifndef TRISPAN_VEKHOST_TERMINAL_H
#define TRISPAN_VEKHOST_TERMINAL_H

#include "Session.h"

namespace vekhost {

// A line that is no event is answered at the terminal: help shows the
// grammar and the glossary, quit (or exit, or the end of input) ends.
class TerminalSource : public EventSource {
public:
  explicit TerminalSource(const Drawing& drawing);
  std::optional<ScriptEvent> Next() override;
  // The terminal shows what was typed already.
  bool Echoes() const override { return !terminal_; }

private:
  const Drawing& drawing_;
  bool terminal_;
  int number_ = 0;
};

// Makes the terminal's input and output Unicode: UTF-8 output on Windows'
// console, a UTF-8 character type for line editing on Linux.
void SetUpTerminalText();

} // namespace vekhost

#endif
