// The program's temporary files: where they go and how they are removed when SIGTERM, SIGINT or
// SIGHUP ends the program (or memory runs out) before their owners can. Named files (the
// temporary output files, the copies of inputs that are read twice) are entered in one list that
// a single handler empties; unnamed files (the sorted runs of a large MRT file) are removed from
// their directory as soon as they are made, so the system frees them whatever ends the program.
#ifndef ZELGRIN_IO_TEMPORARY_FILES_H
#define ZELGRIN_IO_TEMPORARY_FILES_H

#include <signal.h>

#include <string>

namespace temporary_files {

// $TMPDIR when set and not empty, else /tmp.
std::string directory();

// Counted: the ending signals are caught (to remove the listed files, then end the program as
// before) from the first catchSignals until the matching last releaseSignals. A signal the user
// ignores (nohup) stays ignored.
void catchSignals();
void releaseSignals();

// Enters `path` in the list; the slot to leave it by, or -1 when the list is full. The string
// must not change while listed. Call with the signals held (SignalsHeld), together with the
// file's creation or removal, so that the handler never misses nor removes a file.
int enter(const char* path);
void leave(int slot);
// Removes every listed file. Async-signal-safe.
void removeAll();

// Holds back the ending signals for its lifetime.
class SignalsHeld {
 public:
  SignalsHeld();
  ~SignalsHeld();
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t before_;
};

// A new file of mode 0600 in directory(), opened for reading and writing and already removed
// from the directory. The descriptor, or -1 with `reason` set (naming the directory).
int openUnnamed(std::string& reason);

}  // namespace temporary_files

#endif  // ZELGRIN_IO_TEMPORARY_FILES_H
