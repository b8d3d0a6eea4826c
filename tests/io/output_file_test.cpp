#include "io/output_file.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

// A fresh folder, removed with its files when the object goes.
class Folder {
 public:
  Folder() {
    char pattern[] = "/tmp/zelgrin-output-XXXXXX";
    if (mkdtemp(pattern) != nullptr) path_ = pattern;
  }
  ~Folder() {
    for (const std::string& name : names()) unlink((path_ + "/" + name).c_str());
    rmdir(path_.c_str());
  }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  std::set<std::string> names() const {
    std::set<std::string> found;
    DIR* dir = opendir(path_.c_str());
    if (dir == nullptr) return found;
    while (dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") found.insert(name);
    }
    closedir(dir);
    return found;
  }

 private:
  std::string path_;
};

void writeText(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

std::string readText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(OutputFile, ReplacesTheOldFileOnlyOnCommit) {
  Folder folder;
  const std::string path = folder / "out.graph";
  writeText(path, "old");
  chmod(path.c_str(), 0640);
  for (const bool commit : {false, true}) {
    OutputFile out("graph file");
    ASSERT_TRUE(out.open(path.c_str()));
    EXPECT_TRUE(out.replacesWhole());
    std::fputs("new", out.stream());
    std::fflush(out.stream());
    EXPECT_EQ(readText(path), "old");
    EXPECT_EQ(folder.names().size(), 2u);  // the file and its temporary file
    if (commit) {
      EXPECT_TRUE(out.commit()) << out.errReason();
    } else {
      out.abandon();
    }
    EXPECT_EQ(readText(path), commit ? "new" : "old");
    EXPECT_EQ(folder.names(), std::set<std::string>{"out.graph"});
  }
  struct stat status;
  ASSERT_EQ(stat(path.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
}

// The file that replaces another is readable by its owner alone until it is written, then takes
// the old mode, so that no one may read it who could not read the old file.
TEST(OutputFile, TemporaryFileIsNeverWiderThanTheFileItReplaces) {
  for (const mode_t mode : {0644u, 0600u, 0440u, 0000u}) {
    Folder folder;
    const std::string path = folder / "out.graph";
    writeText(path, "old");
    chmod(path.c_str(), mode);
    OutputFile out;
    ASSERT_TRUE(out.open(path.c_str())) << mode;
    for (const std::string& name : folder.names()) {
      struct stat status;
      ASSERT_EQ(stat((folder / name).c_str(), &status), 0);
      if (name != "out.graph") {
        EXPECT_EQ(status.st_mode & 07777 & ~(mode & 0600), 0u) << mode;
      }
    }
    ASSERT_TRUE(out.commit()) << out.errReason();
    struct stat status;
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, mode);
  }
}

// A link in a sticky, world-writable folder is followed only where the kernel's protection of
// such links would follow it: the link is the caller's or the folder owner's, or the folder is
// not both sticky and world-writable. Otherwise nothing is touched.
TEST(OutputFile, LinksInStickyFoldersAreFollowedOnlyAsTheKernelWould) {
  if (geteuid() != 0) GTEST_SKIP() << "links of other users need root";
  const uid_t other = 4242;
  const struct {
    mode_t folderMode;
    uid_t folderOwner;
    uid_t linkOwner;
    bool followed;
  } cases[] = {
      {01777, 0, other, false}, {01777, other, other, true}, {01777, other, 0, true},
      {0777, 0, other, true},   {01775, 0, other, true},
  };
  for (const auto& c : cases) {
    Folder folder, elsewhere;
    const std::string target = elsewhere / "target.graph", link = folder / "link.graph";
    writeText(target, "old");
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    ASSERT_EQ(lchown(link.c_str(), c.linkOwner, c.linkOwner), 0);
    ASSERT_EQ(chown((folder / "").c_str(), c.folderOwner, 0), 0);
    ASSERT_EQ(chmod((folder / "").c_str(), c.folderMode), 0);
    OutputFile out;
    ASSERT_EQ(out.open(link.c_str()), c.followed) << c.folderMode << " " << c.linkOwner;
    if (c.followed) {
      std::fputs("new", out.stream());
      EXPECT_TRUE(out.commit());
    } else {
      EXPECT_EQ(out.errorNumber(), EACCES);
      EXPECT_NE(std::string(out.errReason()).find(link), std::string::npos);
    }
    EXPECT_EQ(readText(target), c.followed ? "new" : "old");
    EXPECT_EQ(elsewhere.names(), std::set<std::string>{"target.graph"});
    EXPECT_EQ(folder.names(), std::set<std::string>{"link.graph"});
  }
}

TEST(OutputFile, NewFileAppearsOnlyOnCommitAndALinkStays) {
  Folder folder;
  const std::string target = folder / "target.graph";
  const std::string link = folder / "link.graph";
  ASSERT_EQ(symlink("target.graph", link.c_str()), 0);  // dangling: the target is new
  {
    OutputFile out;  // the destructor abandons it
    ASSERT_TRUE(out.open(link.c_str()));
    std::fputs("lost", out.stream());
  }
  EXPECT_EQ(folder.names(), std::set<std::string>{"link.graph"});
  OutputFile out;
  ASSERT_TRUE(out.open(link.c_str()));
  std::fputs("kept", out.stream());
  ASSERT_TRUE(out.commit());
  struct stat status;
  ASSERT_EQ(lstat(link.c_str(), &status), 0);
  EXPECT_TRUE(S_ISLNK(status.st_mode));
  EXPECT_EQ(readText(target), "kept");
}

TEST(OutputFile, SpecialFilesAndImpossibleNamesAreNotReplaced) {
  OutputFile device;
  ASSERT_TRUE(device.open("/dev/null"));
  EXPECT_FALSE(device.replacesWhole());
  EXPECT_TRUE(device.commit());

  Folder folder;
  const struct {
    std::string name;
    int error;
  } cases[] = {
      {folder / "no/such/dir.graph", ENOENT},
      {folder / "", EISDIR},  // the folder itself, named with a trailing slash
      {"", ENOENT},
  };
  for (const auto& c : cases) {
    OutputFile out;
    EXPECT_FALSE(out.open(c.name.c_str())) << c.name;
    EXPECT_EQ(out.errorNumber(), c.error) << c.name;
    EXPECT_EQ(out.stream(), nullptr);
  }
  EXPECT_TRUE(folder.names().empty());
}

TEST(OutputFile, RemovedTemporaryFailsTheCommitAndKeepsTheOldFile) {
  Folder folder;
  const std::string path = folder / "out.graph";
  writeText(path, "old");
  OutputFile out("graph file");
  ASSERT_TRUE(out.open(path.c_str()));
  std::fputs("new", out.stream());
  // As the signal and out-of-memory handlers do.
  OutputFile::removeTemporaries();
  EXPECT_FALSE(out.commit());
  EXPECT_STREQ(out.errReason(),
               "Could not put the new graph file in place (No such file or directory)");
  EXPECT_EQ(readText(path), "old");
  EXPECT_EQ(folder.names(), std::set<std::string>{"out.graph"});
}

TEST(OutputFile, SignalsAreHandledOnlyWhileOpen) {
  Folder folder;
  struct sigaction before;
  sigaction(SIGXFSZ, nullptr, &before);
  struct sigaction during;
  OutputFile out;
  ASSERT_TRUE(out.open((folder / "out.graph").c_str()));
  sigaction(SIGXFSZ, nullptr, &during);
  EXPECT_EQ(during.sa_handler, SIG_IGN);  // a write past the size limit fails with EFBIG
  sigaction(SIGTERM, nullptr, &during);
  EXPECT_NE(during.sa_handler, SIG_DFL);
  out.abandon();
  struct sigaction after;
  sigaction(SIGXFSZ, nullptr, &after);
  EXPECT_EQ(after.sa_handler, before.sa_handler);
  sigaction(SIGTERM, nullptr, &after);
  EXPECT_EQ(after.sa_handler, SIG_DFL);
}

}  // namespace
