#include "io/temporary_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace temporary_files {
namespace {

// The listed files. A global because a signal handler must reach it; each slot is an atomic
// pointer into a string its owner keeps unchanged while listed, so the handler reads no torn
// value and allocates nothing. Enough slots for an output and a copy of every input.
constexpr int kSlots = 128;
std::atomic<const char*> listed[kSlots];

// The signals that end the program, and what they did before they were caught.
constexpr int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP};
constexpr int kEndingCount = sizeof kEndingSignals / sizeof kEndingSignals[0];
struct sigaction previousEnding[kEndingCount];
bool caught[kEndingCount];
struct sigaction previousFileSize;
int holders = 0;

// Removes the listed files, then lets the signal do what it did before (by default: end the
// program with the status a shell reports for it).
extern "C" void onEndingSignal(int signal) {
  removeAll();
  for (int k = 0; k < kEndingCount; ++k) {
    if (kEndingSignals[k] == signal) sigaction(signal, &previousEnding[k], nullptr);
  }
  raise(signal);
}

}  // namespace

std::string directory() {
  const char* chosen = std::getenv("TMPDIR");
  return chosen != nullptr && chosen[0] != '\0' ? chosen : "/tmp";
}

void catchSignals() {
  if (holders++ > 0) return;
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  sigemptyset(&action.sa_mask);
  // A write past the file size limit then fails with EFBIG instead of ending the program.
  action.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &action, &previousFileSize);
  // SA_NODEFER: the signal raised again inside the handler is delivered at once.
  action.sa_handler = onEndingSignal;
  action.sa_flags = SA_NODEFER;
  for (int k = 0; k < kEndingCount; ++k) {
    struct sigaction before;
    sigaction(kEndingSignals[k], nullptr, &before);
    caught[k] = before.sa_handler != SIG_IGN;
    if (!caught[k]) continue;
    previousEnding[k] = before;
    sigaction(kEndingSignals[k], &action, nullptr);
  }
}

void releaseSignals() {
  if (--holders > 0) return;
  for (int k = 0; k < kEndingCount; ++k) {
    if (caught[k]) sigaction(kEndingSignals[k], &previousEnding[k], nullptr);
  }
  sigaction(SIGXFSZ, &previousFileSize, nullptr);
}

int enter(const char* path) {
  for (int k = 0; k < kSlots; ++k) {
    const char* empty = nullptr;
    if (listed[k].compare_exchange_strong(empty, path)) return k;
  }
  return -1;
}

void leave(int slot) {
  if (slot >= 0 && slot < kSlots) listed[slot].store(nullptr);
}

void removeAll() {
  for (std::atomic<const char*>& slot : listed) {
    const char* path = slot.exchange(nullptr);
    if (path != nullptr) unlink(path);
  }
}

SignalsHeld::SignalsHeld() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal : kEndingSignals) sigaddset(&set, signal);
  sigprocmask(SIG_BLOCK, &set, &before_);
}

SignalsHeld::~SignalsHeld() { sigprocmask(SIG_SETMASK, &before_, nullptr); }

int openUnnamed(std::string& reason) {
  const std::string where = directory();
  std::string path = where + "/zelgrin-sort-XXXXXX";
  int fd;
  {
    // Between its creation and its removal the file has a name a signal could leave behind.
    SignalsHeld held;
    fd = mkstemp(&path[0]);
    if (fd >= 0) unlink(path.c_str());
  }
  if (fd < 0) {
    reason = "cannot make a temporary file in " + where + ": " + std::strerror(errno);
    return -1;
  }
  fcntl(fd, F_SETFD, FD_CLOEXEC);
  return fd;
}

}  // namespace temporary_files
