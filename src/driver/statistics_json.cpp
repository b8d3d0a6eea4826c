#include "driver/statistics_json.h"

#include <cstdint>

#include "driver/statistics.h"

namespace {

// The length of the well-formed UTF-8 character at text[i] (no overlong forms, surrogates or
// code points above U+10FFFF), or 0 when the byte there begins none.
std::size_t utf8Length(const std::string& text, std::size_t i) {
  const auto byte = [&text](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  }
  return length;
}

void appendCodePoint(std::string& out, unsigned value) {
  static const char hex[] = "0123456789abcdef";
  out += "\\u00";
  out += hex[(value >> 4) & 0xF];
  out += hex[value & 0xF];
}

// "pnec": the format letter as given (B and T with their vantage), then the contents.
std::string lettersOf(const InputFile& input) {
  char format = formatOf(input.type).letter;
  if (input.vantage != 0 && format == 'b') format = 'B';
  if (input.vantage != 0 && format == 't') format = 'T';
  std::string letters(1, format);
  for (const ContentLetter& content : contentLetters) {
    if (input.contents & content.flag) letters += content.letter;
  }
  return letters;
}

void printReading(std::FILE* out, const InputFile& input, const InputReport& reading) {
  const ReadStats& stats = reading.stats;
  std::fprintf(out, "{\"name\": %s, \"letters\": %s, ", jsonString(input.name).c_str(),
               jsonString(lettersOf(input)).c_str());
  if (input.rereads) std::fputs("\"ip_covering\": true, ", out);
  std::fprintf(out, "\"read\": %llu, \"used\": %llu, \"skipped\": {",
               static_cast<unsigned long long>(reading.linesRead),
               static_cast<unsigned long long>(stats.used()));
  for (int i = 0; i < stats.reasonCount(); ++i) {
    std::fprintf(out, "%s%s: %llu", i == 0 ? "" : ", ", jsonString(stats.reason(i)).c_str(),
                 static_cast<unsigned long long>(stats.count(i)));
  }
  std::fputc('}', out);
  if (reportsApplied(input)) {
    std::fprintf(out, ", \"applied\": %llu", static_cast<unsigned long long>(reading.applied));
  }
  std::fputc('}', out);
}

}  // namespace

std::string jsonString(const std::string& text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char byte = static_cast<unsigned char>(text[i]);
    if (byte == '"' || byte == '\\') {
      out += '\\';
      out += static_cast<char>(byte);
    } else if (byte < 0x20 || byte == 0x7F) {
      appendCodePoint(out, byte);
    } else if (byte >= 0x80) {
      const std::size_t length = utf8Length(text, i);
      if (length == 0) {
        appendCodePoint(out, byte);
      } else {
        out.append(text, i, length);
        i += length;
        continue;
      }
    } else {
      out += static_cast<char>(byte);
    }
    ++i;
  }
  out += '"';
  return out;
}

void printStatisticsJson(std::FILE* out, const std::vector<InputFile>& inputs,
                         const BuildReport* report, ASGraph& graph) {
  std::fputs("{\"files\": [", out);
  const int listed = static_cast<int>(inputs.size());
  const int count = report == nullptr ? 0 : (listed < report->size() ? listed : report->size());
  for (int k = 0; k < count; ++k) {
    if (k != 0) std::fputs(", ", out);
    printReading(out, inputs[static_cast<std::size_t>(k)], report->entry(k));
  }
  const GraphTotals totals = graphTotals(graph);
  std::fprintf(out,
               "], \"graph\": {\"nodes\": %llu, \"edges\": %llu, \"oriented\": %llu, "
               "\"path_covering\": %llu, \"ip_covering\": %llu%s}}\n",
               totals.nodes, totals.edges, totals.oriented, totals.pathCovered, totals.ipCovered,
               graph.family() == AddressFamily::ipv6 ? ", \"family\": \"ipv6\"" : "");
}
