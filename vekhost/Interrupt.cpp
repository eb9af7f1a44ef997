#include "Interrupt.h"

#include "Files.h"

#include <cstdlib>

#ifndef _WIN32
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace vekhost {

#ifdef _WIN32
void WatchTemporaryFiles() {}
void CatchInterrupts() {}
bool Interrupted() { return false; }
int InterruptDescriptor() { return -1; }
void StopNow() { std::exit(130); }
#else
namespace {

volatile sig_atomic_t interrupts = 0;
int wake[2] = {-1, -1};

// The temporary files being written, as a signal handler may read them.
struct Slot {
  volatile sig_atomic_t used;
  char path[4096];
};
Slot temporaries[8];

void Watch(const std::string& path, bool created) {
  for (Slot& slot : temporaries) {
    if (created && !slot.used && path.size() < sizeof slot.path) {
      std::memcpy(slot.path, path.c_str(), path.size() + 1);
      slot.used = 1;
      return;
    }
    if (!created && slot.used && path == slot.path) {
      slot.used = 0;
      return;
    }
  }
}

void OnInterrupt(int) {
  if (++interrupts >= 2) StopNow();
  if (write(wake[1], "!", 1) < 0) { /* the flag is enough */
  }
}

} // namespace

void StopNow() {
  for (Slot& slot : temporaries)
    if (slot.used) unlink(slot.path);
  _exit(130);
}

void WatchTemporaryFiles() { files::WatchTemporaries(Watch); }

void CatchInterrupts() {
  if (pipe(wake) == 0) {
    fcntl(wake[0], F_SETFD, FD_CLOEXEC);
    fcntl(wake[1], F_SETFD, FD_CLOEXEC);
    fcntl(wake[1], F_SETFL, O_NONBLOCK);
  }
  files::WatchTemporaries(Watch);
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0; // no restart: a blocked read returns
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool Interrupted() { return interrupts > 0; }

int InterruptDescriptor() { return wake[0]; }
#endif

} // namespace vekhost
