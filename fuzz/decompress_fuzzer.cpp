// Feeds arbitrary bytes through an input stream and its line reader, mixing line reads, binary
// reads and peeks as the bytes themselves say. The first byte chooses a compression magic to put
// before the rest (0: none, so the seeds are compressed files behind a zero byte). Stops the run
// when a line is not NUL-terminated, a byte is lost or counted twice, or a clean end leaves
// stored bytes untaken (data after the last stream is an error, not an end).
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "fuzz_input_file.h"
#include "io/input_stream.h"
#include "io/line_reader.h"

namespace {

// Enough to reach every state of the decoders; a small input may decode to far more.
const size_t kDecodedCap = 8 << 20;

void readThrough(const std::string& input) {
  const char* path = writeFuzzInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
  if (path == nullptr) return;
  InputStream stream;
  const bool opened = stream.open(path);
  // Read through the open descriptor: no file is left behind, even by a crash.
  unlink(path);
  if (!opened) return;
  LineReader reader(stream);
  std::string decoded;
  char record[3000];
  for (size_t step = 0; decoded.size() < kDecodedCap; ++step) {
    const unsigned char choice = input.empty() ? 0 : input[step % input.size()];
    const size_t size = 1 + choice * 11u;
    bool more = true;
    switch (choice % 4) {
      case 0:
      case 1: {
        LineReader::Line line;
        more = reader.nextLine(line);
        if (more && (line.length == 0 || line.text[line.length] != '\0')) abort();
        if (more) decoded.append(line.text, line.length);
        break;
      }
      case 2: {
        long count = reader.read(record, size);
        more = count > 0;
        if (more) decoded.append(record, static_cast<size_t>(count));
        break;
      }
      case 3: {
        const unsigned char* view = nullptr;
        const size_t count = reader.peek(size, view);
        more = count > 0;
        if (more) {
          decoded.append(reinterpret_cast<const char*>(view), count / 2 + 1);
          reader.skip(count / 2 + 1);
        }
        break;
      }
    }
    if (reader.position() != decoded.size()) abort();
    if (!more) break;
  }
  if (decoded.size() >= kDecodedCap || reader.failed()) return;
  if (!reader.atEnd() || stream.rawPosition() != input.size()) abort();
  if (stream.codec() == Codec::plain && decoded != input) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  static const std::string kMagics[] = {"", "\x1f\x8b", "BZh9",
                                        std::string("\xfd"
                                                    "7zXZ\0",
                                                    6),
                                        "\x28\xb5\x2f\xfd"};
  if (size == 0) return 0;
  const std::string& magic = kMagics[bytes[0] % 5];
  readThrough(magic + std::string(reinterpret_cast<const char*>(bytes) + 1, size - 1));
  return 0;
}
