#include "export/export_output.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// A fresh folder, removed with its contents at the end of the test.
struct ScratchFolder {
  ScratchFolder() {
    char pattern[] = "/tmp/zelgrin-export-XXXXXX";
    path = mkdtemp(pattern);
  }
  ~ScratchFolder() { fs::remove_all(path); }
  std::string operator/(const std::string& name) const { return (path / name).string(); }
  std::set<std::string> names() const {
    std::set<std::string> found;
    for (const auto& entry : fs::directory_iterator(path)) found.insert(entry.path().filename());
    return found;
  }
  fs::path path;
};

std::string contents(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

// Writes text through an ExportOutput, then commits it when asked to.
void writeThrough(const std::string& path, const char* text, bool commit) {
  const std::string before = contents(path);
  ExportOutput output;
  ASSERT_TRUE(output.open(path.c_str())) << output.reason();
  std::fputs(text, output.stream());
  if (!commit) return;  // as when writing stops on an error
  ASSERT_TRUE(output.finish()) << output.reason();
  EXPECT_EQ(contents(path), before);  // nothing changed before the commit
  ASSERT_TRUE(output.commit()) << output.reason();
}

}  // namespace

TEST(ExportOutput, ReplacesTheFileOnlyWhenCommittedAndKeepsItsMode) {
  ScratchFolder folder;
  const std::string path = folder / "out.txt";
  std::ofstream(path) << "old";
  chmod(path.c_str(), 0640);
  writeThrough(path, "half", false);
  EXPECT_EQ(contents(path), "old");
  EXPECT_EQ(folder.names(), std::set<std::string>{"out.txt"});  // no temporary left
  writeThrough(path, "new", true);
  EXPECT_EQ(contents(path), "new");
  EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));
  EXPECT_EQ(folder.names(), std::set<std::string>{"out.txt"});

  // A link is kept and its target replaced.
  fs::create_symlink("out.txt", folder / "link");
  writeThrough(folder / "link", "linked", true);
  EXPECT_TRUE(fs::is_symlink(folder / "link"));
  EXPECT_EQ(contents(path), "linked");
}

TEST(ExportOutput, NamesThatCannotBeReplaced) {
  ExportOutput device;  // written in place
  ASSERT_TRUE(device.open("/dev/null"));
  std::fputs("gone", device.stream());
  EXPECT_TRUE(device.finish());
  EXPECT_TRUE(device.commit());

  ExportOutput missing;
  EXPECT_FALSE(missing.open("/nonexistent/folder/out.txt"));
  EXPECT_EQ(missing.reason(), "No such file or directory");
  EXPECT_FALSE(missing.open(""));
  EXPECT_EQ(missing.reason(), "No such file or directory");
}

TEST(ExportOutput, MakeFoldersMakesEveryMissingLevelAndRefusesAFile) {
  ScratchFolder folder;
  std::string reason;
  EXPECT_TRUE(makeFolders((folder / "a/b/c/").c_str(), reason)) << reason;
  EXPECT_TRUE(makeFolders((folder / "a/b").c_str(), reason)) << reason;
  std::ofstream(folder / "file") << "";
  EXPECT_FALSE(makeFolders((folder / "file").c_str(), reason));
  EXPECT_EQ(reason, "Not a directory");
  EXPECT_FALSE(makeFolders((folder / "file/sub").c_str(), reason));
  EXPECT_EQ(reason, "Not a directory");
}
