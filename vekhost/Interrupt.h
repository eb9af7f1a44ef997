// Ctrl-C (or SIGTERM) outside --serve: the first ends the session as the end
// of the events does, so that its results are written; a second stops the
// program at once with exit status 130, after removing the temporary files
// being written, so that every result is whole, old or new.
#ifndef TRISPAN_VEKHOST_INTERRUPT_H
#define TRISPAN_VEKHOST_INTERRUPT_H

namespace vekhost {

// Keeps the names of the temporary files being written, for StopNow.
void WatchTemporaryFiles();
// Takes Ctrl-C and SIGTERM from now on (POSIX; nothing elsewhere), and
// watches the temporary files.
void CatchInterrupts();
// Whether the session was asked to end.
bool Interrupted();
// A descriptor that becomes readable when the session is asked to end (for
// select), or -1.
int InterruptDescriptor();
// Ends the program at once (exit status 130), after removing the temporary
// files being written; safe in a signal handler.
[[noreturn]] void StopNow();

} // namespace vekhost

#endif
