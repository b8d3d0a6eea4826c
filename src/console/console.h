// Console output shared by the driver and graph construction: the once-per-run banner, the
// terminal test, the overwrite question and the progress bar drawn on standard output.
#ifndef ZELGRIN_CONSOLE_CONSOLE_H
#define ZELGRIN_CONSOLE_CONSOLE_H

#include <cstdio>

// Prints the banner on out (bold when out is a terminal), unless one was printed already in
// this run on any stream.
void printHeader(FILE* out);

// True when the stream's file is a character device (a terminal, or e.g. the null device);
// false also when its status cannot be read.
bool isTerm(FILE* stream);

// Asks on standard error whether fileName may be overwritten and reads one line of standard
// input; true when it begins with y or Y (end of input counts as no).
bool askOverwrite(const char* fileName);

// Moves the cursor of standard output to column col.
void goToCol(int col);

// Redraws the progress bar for position/total on standard output when the percentage moved by
// at least 0.5, went back, or reached 100. A total of 0 (unknown size) draws nothing.
void printPercentage(float position, float total);
// The same choice without drawing, against `shown`, the percentage drawn last (or -1), which it
// updates: true when printPercentage would draw. Lets a bar be worked out in one thread and
// drawn later by another, drawing only the positions that may change it.
bool percentageRedraws(float position, float total, float& shown);
// True when printPercentage(position, total) would draw now.
bool percentageWouldRedraw(float position, float total);

#endif  // ZELGRIN_CONSOLE_CONSOLE_H
