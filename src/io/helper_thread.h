// Threads that help the main one read its inputs (decoders, parsers, readers of whole files).
// Each is born with the ending signals held, so that the handler that removes the temporary
// files always runs in the main thread, never in the middle of a reading; and all share the
// main heap. Used by the read-ahead of compressed inputs and by graph construction.
#ifndef ZELGRIN_IO_HELPER_THREAD_H
#define ZELGRIN_IO_HELPER_THREAD_H

#include <system_error>
#include <thread>
#include <utility>

#include "io/temporary_files.h"

namespace helper_thread {

// Keeps every later thread on the main heap: a thread's first allocation would otherwise make it
// a heap of its own, reserving 64 MB of address space (128 MB while it is aligned) that a memory
// cap (ulimit -v) counts although little of it is ever used.
void shareMainHeap();

// A new thread running f(args...), as std::thread would, with the ending signals held; or, when
// the system refuses one (a cap on processes, no memory for its stack), a thread that is not
// joinable and never ran f, for the caller to do the work in a thread it has. std::thread
// reports the refusal by throwing, which would end the run: here it is a value.
template <class F, class... Args>
std::thread start(F&& f, Args&&... args) {
  shareMainHeap();
  temporary_files::SignalsHeld held;
  try {
    return std::thread(std::forward<F>(f), std::forward<Args>(args)...);
  } catch (const std::system_error&) {
    return std::thread();
  }
}

}  // namespace helper_thread

#endif  // ZELGRIN_IO_HELPER_THREAD_H
