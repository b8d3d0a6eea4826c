// Small input files for the parser tests, written into a fresh temporary folder that is removed
// with everything in it when the object goes.
#ifndef ZELGRIN_TESTS_PARSERS_TEMP_FILES_H
#define ZELGRIN_TESTS_PARSERS_TEMP_FILES_H

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

class TempFiles {
 public:
  TempFiles() {
    char pattern[] = "/tmp/zelgrin-parsers-XXXXXX";
    if (mkdtemp(pattern) != nullptr) dir_ = pattern;
  }
  ~TempFiles() {
    for (const std::string& path : files_) std::remove(path.c_str());
    if (!dir_.empty()) rmdir(dir_.c_str());
  }
  TempFiles(const TempFiles&) = delete;
  TempFiles& operator=(const TempFiles&) = delete;

  const std::string& dir() const { return dir_; }

  // Writes `content` byte for byte to a new file and returns its path.
  std::string write(const std::string& content) {
    std::string path = dir_ + "/f" + std::to_string(files_.size());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f != nullptr) {
      std::fwrite(content.data(), 1, content.size(), f);
      std::fclose(f);
    }
    files_.push_back(path);
    return path;
  }

 private:
  std::string dir_;
  std::vector<std::string> files_;
};

#endif  // ZELGRIN_TESTS_PARSERS_TEMP_FILES_H
