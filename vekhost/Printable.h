// What vekhost prints, kept harmless: the characters U+0000 to U+001F (but
// the line feed that ends vekhost's own lines), U+007F and U+0080 to U+009F,
// which a file or the plug-in may hold, are shown as \xNN, so that they can
// neither move the cursor nor clear the screen nor change the terminal.
#ifndef TRISPAN_VEKHOST_PRINTABLE_H
#define TRISPAN_VEKHOST_PRINTABLE_H

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace vekhost {

// The text with every such character escaped, the line feed included.
std::string EscapeControls(std::string_view utf8);

// How many terminal columns the UTF-8 text takes: two for each wide
// character (Hangul and CJK, utf::CountWidths), one for the others.
size_t TerminalColumns(std::string_view utf8);

// A stream buffer that escapes what goes through it (line feeds kept) into
// next.
std::unique_ptr<std::streambuf> EscapingBuffer(std::streambuf* next);

// From now on, what goes into the stream is escaped (line feeds kept); for
// streams that live as long as the program.
void EscapeControlsOf(std::ostream& stream);

} // namespace vekhost

#endif
