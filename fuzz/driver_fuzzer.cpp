// Runs the whole program on an arbitrary command line and input files, with one write, flush,
// sync, close, rename, open or read failing, and checks that nothing is lost or invented:
// a failed run changes no file, a successful one only the output, and no temporary file stays.
//
// The input: three bytes of fault schedule (kind, call number, error), then parts split at 0xFF
// bytes: the arguments (one per line), then the contents of the files a, b, c, g and o (the
// output's old content; o is absent when the part is missing). In the arguments "@a" .. "@o"
// name those files, "@h" a hard link to a, "@l" a symbolic link to a and "@d" a folder. A run
// whose file names are not all in the scratch folder is not made.
#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "driver/command_line.h"
#include "driver/run_zelgrin.h"

extern "C" void zelgrinFaultSchedule(const char* text);

namespace {

const char* const kFileNames[] = {"a", "b", "c", "g", "o"};

void clearScratch();
void removeScratch();

// The scratch folder, made on first use in memory where possible (every successful run syncs
// its output to disk) and removed at exit.
std::string& scratch() {
  static std::string dir;
  if (dir.empty()) {
    char inMemory[] = "/dev/shm/zelgrin_fuzz_driver-XXXXXX";
    char onDisk[] = "/tmp/zelgrin_fuzz_driver-XXXXXX";
    if (mkdtemp(inMemory) != nullptr) {
      dir = inMemory;
    } else if (mkdtemp(onDisk) != nullptr) {
      dir = onDisk;
    }
    std::atexit(removeScratch);
    // Standard input answers no and gives no graph; standard output takes the banner.
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    close(null);
  }
  return dir;
}

// Every entry of the scratch folder (a file, a link or the folder) with its content.
std::map<std::string, std::string> snapshot() {
  std::map<std::string, std::string> files;
  DIR* dir = opendir(scratch().c_str());
  if (dir == nullptr) return files;
  while (dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    std::string content;
    if (std::FILE* in = std::fopen((scratch() + "/" + name).c_str(), "rb")) {
      char buffer[4096];
      size_t n;
      while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) content.append(buffer, n);
      std::fclose(in);
    }
    files[name] = content;
  }
  closedir(dir);
  return files;
}

void clearScratch() {
  for (const auto& entry : snapshot()) {
    const std::string path = scratch() + "/" + entry.first;
    if (unlink(path.c_str()) != 0) rmdir(path.c_str());
  }
}

void removeScratch() {
  clearScratch();
  rmdir(scratch().c_str());
}

// The text of a fault schedule for the three leading bytes; empty for no fault.
std::string schedule(const uint8_t* bytes) {
  static const char* const kinds[] = {"write", "flush", "fsync", "close", "rename", "open", "read"};
  static const char* const errors[] = {"ENOSPC", "EIO", "EFBIG", "EACCES"};
  const int kind = bytes[0] % 8;
  if (kind == 7) return "";
  return std::string(kinds[kind]) + ":" + std::to_string(bytes[1] % 64 + 1) +
         (bytes[1] & 0x80 ? "+" : "") + ":" + errors[bytes[2] % 4];
}

bool inScratch(const char* name) {
  return name != nullptr && std::strncmp(name, scratch().c_str(), scratch().size()) == 0 &&
         std::strstr(name, "..") == nullptr;
}

// True when every file the command line names lies in the scratch folder (or is standard input
// or output), so that no run writes elsewhere; `output` gets the output's name in the folder.
bool namesOnlyScratch(std::vector<char*>& argv, std::string& output) {
  CommandLine commandLine;
  std::string message;
  if (!parseArguments(static_cast<int>(argv.size()) - 1, argv.data(), commandLine, message)) {
    return true;
  }
  const RunOptions& options = commandLine.options;
  if (options.help || options.version) return true;
  if (options.outFile) {
    if (!inScratch(options.outFile->c_str())) return false;
    output = options.outFile->substr(scratch().size() + 1);
  }
  if (options.sourceGraph && *options.sourceGraph != "-" &&
      !inScratch(options.sourceGraph->c_str())) {
    return false;
  }
  for (const InputFile& input : commandLine.inputs) {
    if (input.name != "-" && !inScratch(input.name.c_str())) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size < 3 || scratch().empty()) return 0;
  const std::string faults = schedule(bytes);
  std::vector<std::string> parts(1);
  for (size_t k = 3; k < size; ++k) {
    if (bytes[k] == 0xFF) {
      parts.emplace_back();
    } else {
      parts.back() += static_cast<char>(bytes[k]);
    }
  }

  clearScratch();
  for (size_t k = 0; k < 5 && k + 1 < parts.size(); ++k) {
    std::FILE* out = std::fopen((scratch() + "/" + kFileNames[k]).c_str(), "wb");
    if (out == nullptr) return 0;
    std::fwrite(parts[k + 1].data(), 1, parts[k + 1].size(), out);
    std::fclose(out);
  }
  const std::string a = scratch() + "/a";
  if (link(a.c_str(), (scratch() + "/h").c_str()) != 0 ||
      symlink(a.c_str(), (scratch() + "/l").c_str()) != 0 ||
      mkdir((scratch() + "/d").c_str(), 0755) != 0) {
    return 0;
  }

  std::vector<std::string> args{"zelgrin"};
  size_t start = 0;
  const std::string& line = parts[0];
  while (start <= line.size() && args.size() < 64) {
    size_t end = line.find('\n', start);
    if (end == std::string::npos) end = line.size();
    std::string arg = line.substr(start, end - start);
    if (arg.size() == 2 && arg[0] == '@' && std::strchr("abcgohld", arg[1]) != nullptr) {
      arg = scratch() + "/" + arg[1];
    }
    args.push_back(arg);
    start = end + 1;
  }
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(&arg[0]);
  argv.push_back(nullptr);
  std::string output;
  if (!namesOnlyScratch(argv, output)) return 0;

  const std::map<std::string, std::string> before = snapshot();
  zelgrinFaultSchedule(faults.c_str());
  const int status = runZelgrin(static_cast<int>(argv.size()) - 1, argv.data());
  zelgrinFaultSchedule("");
  const std::map<std::string, std::string> after = snapshot();

  if (status < 0 || status > 3) abort();
  for (const auto& entry : after) {
    if (entry.first[0] == '.') abort();  // a temporary file left behind
  }
  // A failed run changes nothing; a successful one changes the output (and what links to it)
  // and nothing else. A temporary file that cannot be opened lets the output be written in
  // place, where a later failure may spoil it: no promise then.
  if (faults.compare(0, 4, "open") == 0) return 0;
  // The output a, or a link to it, changes a and both links.
  const bool outputIsA = output == "a" || output == "h" || output == "l";
  for (const auto& entry : before) {
    const auto found = after.find(entry.first);
    const bool same = found != after.end() && found->second == entry.second;
    const bool isOutput =
        entry.first == output || (outputIsA && std::strchr("ahl", entry.first[0]));
    if (!same && (status != 0 || !isOutput)) abort();
  }
  const size_t added = after.size() - before.size();
  if (added > (status == 0 && before.count(output) == 0 ? 1u : 0u)) abort();
  return 0;
}
