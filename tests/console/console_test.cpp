#include "console/console.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Runs f with the stream's descriptor sent to a temporary file and returns what was written.
template <typename F>
std::string capture(FILE* stream, F f) {
  fflush(stream);
  int fd = fileno(stream);
  int saved = dup(fd);
  FILE* sink = tmpfile();
  dup2(fileno(sink), fd);
  f();
  fflush(stream);
  dup2(saved, fd);
  close(saved);
  std::string text;
  rewind(sink);
  for (int c = fgetc(sink); c != EOF; c = fgetc(sink)) text += static_cast<char>(c);
  fclose(sink);
  return text;
}

// Feeds text on standard input for f; what f left unread is returned in rest.
template <typename F>
void withStdin(const std::string& text, std::string& rest, F f) {
  FILE* source = tmpfile();
  fputs(text.c_str(), source);
  rewind(source);
  int saved = dup(0);
  dup2(fileno(source), 0);
  clearerr(stdin);
  f();
  rest.clear();
  for (int c = getchar(); c != EOF; c = getchar()) rest += static_cast<char>(c);
  clearerr(stdin);
  dup2(saved, 0);
  close(saved);
  fclose(source);
}

std::string bar(int stars, const char* tail) {
  return "\033[1G[" + std::string(stars, '*') + std::string(40 - stars, ' ') + tail;
}

// The bar's last percentage persists for the run; drawing 100 % leaves it in a known state,
// from which any lower percentage draws again.
void settle() {
  capture(stdout, [] { printPercentage(1.0f, 1.0f); });
}

TEST(PrintPercentage, DrawsStarsBlanksAndFigure) {
  settle();
  EXPECT_EQ(capture(stdout, [] { printPercentage(376.0f, 1000.0f); }), bar(15, "]  (37.6 %)"));
  settle();
  EXPECT_EQ(capture(stdout, [] { printPercentage(0.0f, 10.0f); }), bar(0, "]  (0.0 %)"));
  EXPECT_EQ(capture(stdout, [] { printPercentage(10.0f, 10.0f); }), bar(40, "]  (100.0 %)"));
}

TEST(PrintPercentage, RedrawsOnlyOnVisibleChange) {
  settle();
  EXPECT_NE(capture(stdout, [] { printPercentage(10.0f, 100.0f); }), "");
  // Less than half a percent more: nothing.
  EXPECT_EQ(capture(stdout, [] { printPercentage(10.4f, 100.0f); }), "");
  EXPECT_EQ(capture(stdout, [] { printPercentage(10.5f, 100.0f); }), bar(4, "]  (10.5 %)"));
  // Going back (the next file starts) always draws.
  EXPECT_EQ(capture(stdout, [] { printPercentage(10.4f, 100.0f); }), bar(4, "]  (10.4 %)"));
  // 100 % draws every time.
  EXPECT_NE(capture(stdout, [] { printPercentage(100.0f, 100.0f); }), "");
  EXPECT_NE(capture(stdout, [] { printPercentage(100.0f, 100.0f); }), "");
}

TEST(PrintPercentage, UnknownTotalDrawsNothing) {
  settle();
  EXPECT_EQ(capture(stdout, [] { printPercentage(5.0f, 0.0f); }), "");
}

TEST(PrintPercentage, PositionPastTheTotalKeepsFortyCells) {
  settle();
  EXPECT_EQ(capture(stdout, [] { printPercentage(3.0f, 1.0f); }), bar(40, "]  (300.0 %)"));
}

TEST(GoToCol, PrintsTheCursorMove) {
  EXPECT_EQ(capture(stdout, [] { goToCol(17); }), "\033[17G");
}

TEST(IsTerm, CharacterDevicesOnly) {
  FILE* null = fopen("/dev/null", "w");
  ASSERT_NE(null, nullptr);
  EXPECT_TRUE(isTerm(null));
  fclose(null);
  FILE* file = tmpfile();
  EXPECT_FALSE(isTerm(file));
  fclose(file);
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  FILE* pipeEnd = fdopen(fds[1], "w");
  EXPECT_FALSE(isTerm(pipeEnd));
  fclose(pipeEnd);
  close(fds[0]);
}

TEST(AskOverwrite, AnswersAndWhatIsLeftOnInput) {
  struct Case {
    const char* input;
    bool answer;
    const char* rest;
  } cases[] = {
      {"y\nVGR\n", true, "VGR\n"},
      {"Yes\nnext", true, "next"},
      {"Y", true, ""},
      {"n\nnext", false, "next"},
      {"no\n", false, ""},
      {"\ny\n", false, "y\n"},
      {"", false, ""},
  };
  for (const Case& c : cases) {
    bool answer = !c.answer;
    std::string rest;
    std::string err = capture(
        stderr, [&] { withStdin(c.input, rest, [&] { answer = askOverwrite("g.graph"); }); });
    EXPECT_EQ(answer, c.answer) << c.input;
    EXPECT_EQ(rest, c.rest) << c.input;
    EXPECT_EQ(err,
              "Warning: file `g.graph'\nalready exists and is about to be overwritten.\n"
              "Do you want to proceed (y/n)? ");
  }
}

// The banner is printed once per process, so it is checked in a child of its own.
TEST(PrintHeaderDeathTest, PrintsOncePerRun) {
  EXPECT_EXIT(
      {
        FILE* first = tmpfile();
        printHeader(first);
        printHeader(first);
        printHeader(stdout);
        rewind(first);
        char line[64] = "";
        bool once = fgets(line, sizeof line, first) != nullptr &&
                    std::string(line) == "zelgrin 1.0\n" && fgetc(first) == EOF;
        std::exit(once ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
