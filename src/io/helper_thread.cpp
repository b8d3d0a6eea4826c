#include "io/helper_thread.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace helper_thread {

void shareMainHeap() {
#if defined(__GLIBC__)
  mallopt(M_ARENA_MAX, 1);
#endif
}

}  // namespace helper_thread
