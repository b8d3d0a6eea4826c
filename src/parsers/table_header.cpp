#include "parsers/table_header.h"

#include <cstring>
#include <string_view>

namespace {

const char* const kNextHopCaptions[] = {"Next Hop", "Next-hop", "Next-Hop", "NextHop"};

// The first of `words` found in the line, as a caption; absent when none is there.
template <std::size_t n>
TableHeader::Caption findCaption(std::string_view line, const char* const (&words)[n]) {
  TableHeader::Caption caption;
  for (const char* word : words) {
    const std::size_t at = line.find(word);
    if (at == std::string_view::npos) continue;
    caption.present = true;
    caption.first = at;
    caption.last = at + std::strlen(word) - 1;
    return caption;
  }
  return caption;
}

TableHeader::Caption findCaption(std::string_view line, const char* word) {
  const char* const words[] = {word};
  return findCaption(line, words);
}

}  // namespace

bool TableHeader::isHeader(const char* text, std::size_t length) {
  const std::string_view line(text, length);
  return line.find("Network") != std::string_view::npos &&
         line.find("Path") != std::string_view::npos && findCaption(line, kNextHopCaptions).present;
}

void TableHeader::record(const char* text, std::size_t length) {
  const std::string_view line(text, length);
  seen_ = true;
  network_ = findCaption(line, "Network");
  nextHop_ = findCaption(line, kNextHopCaptions);
  metric_ = findCaption(line, "Metric");
  const char* const locPrfWords[] = {"LocPrf", "LocPref"};
  locPrf_ = findCaption(line, locPrfWords);
  weight_ = findCaption(line, "Weight");
  // "AS Path" on IOS-XR advertised routes: the path still starts under its "Path".
  path_ = findCaption(line, "Path");
  from_ = findCaption(line, "From");
  leftAligned_ = line.find("LocPref") != std::string_view::npos;
  collapsed_ = nextHop_.first <= network_.last + 2;
}
