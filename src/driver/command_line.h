// The parsed command line: which input files to read, in which format, what to take from each,
// and the options. Filled once by the driver with parseArguments; graph construction reads the
// parallel file arrays in the order left here (non-dump files first, BGP dumps last).
#ifndef ZELGRIN_DRIVER_COMMAND_LINE_H
#define ZELGRIN_DRIVER_COMMAND_LINE_H

#include <cstdint>
#include <cstdio>
#include <string>

// Input formats, selected by the format letter of a --file: option.
enum file_type {
  bgpFile = 0,      // b or B: router BGP table dump
  satFile = 1,      // s: path-saturation output
  vantageFile = 2,  // v: relationship file
  pathFile = 3,     // p: plain list of AS paths
  unknownFile = 4   // u: list of AS couples that could not be oriented
};

// Content flags: what to take from an input file (bits of an int32_t set).
constexpr int32_t getNodes = 1;         // n
constexpr int32_t getEdges = 2;         // e
constexpr int32_t getDirections = 4;    // d
constexpr int32_t getPathCovering = 8;  // c
constexpr int32_t getIPCovering = 16;   // i

// At most this many input files are held.
constexpr int maxInputFiles = 100;
// Longest comment kept; longer ones are cut.
constexpr int maxCommentLength = 512;

// The parsed command line. Owns every string in it and frees them when destroyed.
struct cmdLineParams {
  char* fileNames[maxInputFiles];
  file_type fileTypes[maxInputFiles];
  int32_t fileContents[maxInputFiles];
  unsigned short vantagePoints[maxInputFiles];  // vantage AS of a B dump, 0 otherwise
  short numOtherFiles;
  short numBGPFiles;
  bool verbose;
  bool force;
  char comment[maxCommentLength + 1];
  char* outFile;      // null: standard output
  char* sourceGraph;  // null: no graph to enhance; "-": standard input
  bool help;

  cmdLineParams();
  ~cmdLineParams();
  cmdLineParams(const cmdLineParams&) = delete;
  cmdLineParams& operator=(const cmdLineParams&) = delete;
};

// Fills params from argv[1..argc-1]. Returns true on success with message empty; on the first
// syntax error returns false with the error text in message. Without --help the files are left
// in reading order: grouped by lowest content bit (n, e, d, c, i), BGP dumps last.
// REQUIRES: params freshly constructed.
bool parseArguments(int argc, char* argv[], cmdLineParams& params, std::string& message);

// Exchanges input-file entries a and b (name, type, contents and vantage point move together).
// REQUIRES: 0 <= a, b < maxInputFiles.
void dynaSwap(cmdLineParams& params, int a, int b);

// True when any of values[0..n-1] is true; false for n <= 0.
inline bool anyTrue(const bool* values, int n) {
  for (int k = 0; k < n; ++k) {
    if (values[k]) return true;
  }
  return false;
}

// Prints the banner (unless already printed) and the help text on out; progName is argv[0].
void printHelp(FILE* out, const char* progName);

#endif  // ZELGRIN_DRIVER_COMMAND_LINE_H
