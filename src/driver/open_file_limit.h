// Room for the input files a run holds open at once. The merge of IP covering keeps every dump
// it reads open until that dump ends, so a list of a day's dumps (--files-from has no limit of
// inputs) may need more descriptors than the usual soft limit of 1024 gives, while the hard
// limit allows far more.
#ifndef ZELGRIN_DRIVER_OPEN_FILE_LIMIT_H
#define ZELGRIN_DRIVER_OPEN_FILE_LIMIT_H

#include <cstddef>

// Raises the soft limit on open files, never past the hard limit, so that `inputs` input files
// can be open at once with a descriptor beside each (a compressed input read ahead waits on
// one) and room to spare. Changes nothing when the limit is high enough; when it cannot be
// raised, an input that cannot be opened is reported as always.
void makeRoomForInputs(std::size_t inputs);

#endif  // ZELGRIN_DRIVER_OPEN_FILE_LIMIT_H
