// The time window of a run (--time-window START,END): readers whose records carry a time stamp
// (MRT records, pipe-separated route lines) pass over those stamped before START or at END and
// later, counting them under kOutsideTimeWindow. Times are seconds since 1970, UTC.
#ifndef ZELGRIN_PARSERS_TIME_WINDOW_H
#define ZELGRIN_PARSERS_TIME_WINDOW_H

#include <cstdint>

// Why a record stamped outside the window was passed over, as --stats counts it.
constexpr const char* kOutsideTimeWindow = "outside the time window";

struct TimeWindow {
  bool limited = false;    // false: every time is inside
  std::int64_t start = 0;  // inclusive
  std::int64_t end = 0;    // exclusive

  bool contains(std::int64_t time) const { return !limited || (time >= start && time < end); }
};

// Seconds since 1970 of a UTC calendar time; the fields are not checked.
std::int64_t secondsOfUtc(int year, int month, int day, int hour, int minute, int second);

// Reads one time from [first, last): UNIX seconds, or YYYY-MM-DDTHH:MM:SS (UTC). False when the
// text is neither (or names no real date).
bool readTimePoint(const char* first, const char* last, std::int64_t& seconds);

// Reads "START,END" into `window` (limited); false when a time is malformed or END is not
// after START.
bool readTimeWindow(const char* text, TimeWindow& window);

#endif  // ZELGRIN_PARSERS_TIME_WINDOW_H
