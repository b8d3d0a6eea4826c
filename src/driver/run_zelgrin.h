// The whole program behind main(), callable from a test harness: parses the command line, checks
// the output against the inputs, asks before replacing a file, reads the graph to enhance, builds
// the graph and writes it.
#ifndef ZELGRIN_DRIVER_RUN_ZELGRIN_H
#define ZELGRIN_DRIVER_RUN_ZELGRIN_H

// Runs zelgrin on argv[1..argc-1] and returns the exit status: 0 written (or help or version),
// 1 syntax error, 2 an input could not be opened or read or the output not created, 3 refused,
// invalid graph to enhance or a failed write (the old output file then stays as it was).
// Running out of memory ends the process with status 2 and "Error: Out of memory"; SIGTERM,
// SIGINT or SIGHUP during the write end it as the signal does, without leaving a partial file.
int runZelgrin(int argc, char* argv[]);

#endif  // ZELGRIN_DRIVER_RUN_ZELGRIN_H
