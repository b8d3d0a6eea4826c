#include "parsers/time_window.h"

#include <cstring>

namespace {

// Reads exactly `count` decimal digits at `p`; false when one is not a digit.
bool readFixed(const char* p, int count, int& value) {
  value = 0;
  for (int k = 0; k < count; ++k) {
    const unsigned digit = static_cast<unsigned char>(p[k]) - unsigned('0');
    if (digit > 9) return false;
    value = value * 10 + static_cast<int>(digit);
  }
  return true;
}

bool leapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && leapYear(year) ? 29 : days[month - 1];
}

}  // namespace

// Days from 1970-01-01 by the usual shift of the year to begin in March, so that the leap day
// ends it.
std::int64_t secondsOfUtc(int year, int month, int day, int hour, int minute, int second) {
  const std::int64_t y = year - (month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yearOfEra = y - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  const std::int64_t days = era * 146097 + dayOfEra - 719468;
  return days * 86400 + hour * 3600 + minute * 60 + second;
}

bool readTimePoint(const char* first, const char* last, std::int64_t& seconds) {
  const std::size_t length = static_cast<std::size_t>(last - first);
  if (length == 19 && first[4] == '-' && first[7] == '-' && first[10] == 'T' && first[13] == ':' &&
      first[16] == ':') {
    int year, month, day, hour, minute, second;
    if (!readFixed(first, 4, year) || !readFixed(first + 5, 2, month) ||
        !readFixed(first + 8, 2, day) || !readFixed(first + 11, 2, hour) ||
        !readFixed(first + 14, 2, minute) || !readFixed(first + 17, 2, second)) {
      return false;
    }
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 60) {
      return false;
    }
    seconds = secondsOfUtc(year, month, day, hour, minute, second);
    return true;
  }
  // Up to 12 digits: far beyond any routing data, and no overflow.
  if (length == 0 || length > 12) return false;
  std::int64_t value = 0;
  for (const char* p = first; p != last; ++p) {
    const unsigned digit = static_cast<unsigned char>(*p) - unsigned('0');
    if (digit > 9) return false;
    value = value * 10 + digit;
  }
  seconds = value;
  return true;
}

bool readTimeWindow(const char* text, TimeWindow& window) {
  const char* comma = std::strchr(text, ',');
  if (comma == nullptr) return false;
  TimeWindow read;
  read.limited = true;
  if (!readTimePoint(text, comma, read.start) ||
      !readTimePoint(comma + 1, comma + std::strlen(comma), read.end) || read.end <= read.start) {
    return false;
  }
  window = read;
  return true;
}
