#include "export/export_output.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

class ScratchFolder {
 public:
  ScratchFolder() {
    char pattern[] = "/tmp/zelgrin-export-XXXXXX";
    if (mkdtemp(pattern) != nullptr) path_ = pattern;
  }
  ~ScratchFolder() { std::system(("rm -rf '" + path_ + "'").c_str()); }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  // The names in the folder, sorted, one per line.
  std::string listing() const {
    std::string command = "ls -A '" + path_ + "'";
    std::string names;
    std::FILE* ls = popen(command.c_str(), "r");
    for (int c; (c = std::fgetc(ls)) != EOF;) names += static_cast<char>(c);
    pclose(ls);
    return names;
  }

 private:
  std::string path_;
};

std::string contents(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeFile(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

}  // namespace

TEST(ExportOutput, ReplacesTheFileOnlyWhenCommittedAndKeepsItsMode) {
  ScratchFolder folder;
  const std::string path = folder / "out.txt";
  writeFile(path, "old");
  chmod(path.c_str(), 0640);
  {
    ExportOutput output;
    ASSERT_TRUE(output.open(path.c_str())) << output.reason();
    std::fputs("new", output.stream());
    ASSERT_TRUE(output.finish()) << output.reason();
    EXPECT_EQ(contents(path), "old");  // nothing changed before the commit
    ASSERT_TRUE(output.commit()) << output.reason();
  }
  EXPECT_EQ(contents(path), "new");
  struct stat status;
  ASSERT_EQ(stat(path.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  EXPECT_EQ(folder.listing(), "out.txt\n");  // no temporary file left
}

TEST(ExportOutput, AbandonedOrFailedOutputLeavesTheOldFileAndNoTemporary) {
  ScratchFolder folder;
  const std::string path = folder / "out.txt";
  writeFile(path, "old");
  {
    ExportOutput output;
    ASSERT_TRUE(output.open(path.c_str()));
    std::fputs("half", output.stream());
  }  // never finished: as when writing stops on an error
  EXPECT_EQ(contents(path), "old");
  EXPECT_EQ(folder.listing(), "out.txt\n");

  ExportOutput missing;
  EXPECT_FALSE(missing.open((folder / "no/such/folder/out.txt").c_str()));
  EXPECT_EQ(missing.reason(), "No such file or directory");
}

TEST(ExportOutput, DeviceIsWrittenInPlaceAndALinkReplacesItsTarget) {
  ExportOutput device;
  ASSERT_TRUE(device.open("/dev/null"));
  std::fputs("gone", device.stream());
  EXPECT_TRUE(device.finish());
  EXPECT_TRUE(device.commit());

  ScratchFolder folder;
  writeFile(folder / "target.txt", "old");
  ASSERT_EQ(symlink("target.txt", (folder / "link").c_str()), 0);
  ExportOutput output;
  ASSERT_TRUE(output.open((folder / "link").c_str()));
  std::fputs("new", output.stream());
  ASSERT_TRUE(output.finish());
  ASSERT_TRUE(output.commit());
  struct stat status;
  ASSERT_EQ(lstat((folder / "link").c_str(), &status), 0);
  EXPECT_TRUE(S_ISLNK(status.st_mode));
  EXPECT_EQ(contents(folder / "target.txt"), "new");
}

TEST(ExportOutput, MakeFoldersMakesEveryMissingLevelAndRefusesAFile) {
  ScratchFolder folder;
  std::string reason;
  EXPECT_TRUE(makeFolders((folder / "a/b/c/").c_str(), reason)) << reason;
  EXPECT_TRUE(makeFolders((folder / "a/b").c_str(), reason)) << reason;
  writeFile(folder / "file", "");
  EXPECT_FALSE(makeFolders((folder / "file").c_str(), reason));
  EXPECT_EQ(reason, "Not a directory");
  EXPECT_FALSE(makeFolders((folder / "file/sub").c_str(), reason));
  EXPECT_EQ(reason, "Not a directory");
}
