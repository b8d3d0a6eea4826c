#include "console/console.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

// Both live for the whole run and are never reset: the banner appears once whichever stream
// asks first, and the bar compares against the last percentage drawn, even across files.
bool alreadyPrinted = false;
float oldPerc = -1.0f;

constexpr int barCells = 40;

// One byte of standard input, or EOF. Read from the descriptor byte by byte rather than through
// the C library's buffer: whatever follows the answer stays on standard input for the readers
// of a graph or an input given as -, which read the descriptor themselves.
int readStdinByte() {
  unsigned char byte;
  for (;;) {
    const ssize_t count = read(STDIN_FILENO, &byte, 1);
    if (count == 1) return byte;
    if (count < 0 && errno == EINTR) continue;
    return EOF;
  }
}

}  // namespace

void printHeader(FILE* out) {
  if (alreadyPrinted) return;
  if (isTerm(out)) {
    fprintf(out, "%szelgrin%s 1.0\n", "\033[1m", "\033[0m");
  } else {
    fprintf(out, "zelgrin 1.0\n");
  }
  alreadyPrinted = true;
}

bool isTerm(FILE* stream) {
  if (stream == nullptr) return false;
  int fd = fileno(stream);
  if (fd < 0) return false;
  struct stat status;
  if (fstat(fd, &status) != 0) return false;
  return S_ISCHR(status.st_mode);
}

bool askOverwrite(const char* fileName) {
  fprintf(stderr, "Warning: file `%s'\nalready exists and is about to be overwritten.\n", fileName);
  fprintf(stderr, "Do you want to proceed (y/n)? ");
  fflush(stderr);
  int answer = readStdinByte();
  // Drop the rest of the line so that what follows on standard input (a graph given with
  // --enhance -, or an input given as -) starts on the next line.
  if (answer != '\n' && answer != EOF) {
    int c;
    do {
      c = readStdinByte();
    } while (c != '\n' && c != EOF);
  }
  return answer == 'y' || answer == 'Y';
}

void goToCol(int col) { printf("\033[%iG", col); }

bool percentageRedraws(float position, float total, float& shown) {
  if (total == 0.0f) return false;
  const float p = position / total * 100.0f;
  if (!(p - shown >= 0.5f || 100.0f - p < 0.001f || p - shown < 0.0f)) return false;
  shown = p;
  return true;
}

bool percentageWouldRedraw(float position, float total) {
  float shown = oldPerc;
  return percentageRedraws(position, total, shown);
}

void printPercentage(float position, float total) {
  float shown = oldPerc;
  if (!percentageRedraws(position, total, shown)) return;
  const float p = shown;
  int stars = 0;
  if (p >= barCells * 2.5f) {
    stars = barCells;
  } else if (p > 0.0f) {
    stars = static_cast<int>(p / 2.5f);
  }
  goToCol(1);
  putchar('[');
  for (int k = 0; k < barCells; ++k) putchar(k < stars ? '*' : ' ');
  printf("]  (%3.1f %%)", p);
  fflush(stdout);
  oldPerc = p;
}
