// vekhost's help: what it does, the script's events, its exit statuses, and
// the glossary of the Korean texts the command and its dialog show.
#ifndef TRISPAN_VEKHOST_HELP_H
#define TRISPAN_VEKHOST_HELP_H

#include <string>

namespace vekhost {

// What vekhost does, the events of a script and the exit statuses.
std::string Description();
// What "help" adds at the terminal: the Korean texts in English and the
// events in the host's terms.
const char* Glossary();

} // namespace vekhost

#endif
