#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <functional>
#include <string>

#include "TemporaryFolder.h"
#include "documents/SafeWrite.h"
#include "model/ProgramError.h"

namespace velmora {
namespace {

using namespace testing;

mode_t ModeOf(const std::string& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0 ? status.st_mode : 0;
}

TEST(SafeWrite, KeepsTheReplacedFilesModeAndGivesANewFileTheUsualOne) {
  TemporaryFolder folder;
  const std::string name = folder.Path("a.ato");
  WriteBytes(name, "old content that is longer");
  ::chmod(name.c_str(), 0604);
  const mode_t saved = ::umask(027);
  WriteFileSafely(name, "new");
  WriteFileSafely(folder.Path("b.ato"), "new");
  ::umask(saved);
  EXPECT_EQ(ReadBytes(name), "new");
  EXPECT_EQ(ModeOf(name) & 07777, 0604u);
  EXPECT_EQ(ModeOf(folder.Path("b.ato")) & 07777, 0640u);  // 0666 less the umask
  EXPECT_EQ(folder.Entries(), (std::set<std::string>{"a.ato", "b.ato"}));
}

std::string Attribute(const std::string& path, const char* name) {
  char value[256];
  const ssize_t size = ::getxattr(path.c_str(), name, value, sizeof value);
  return size < 0 ? "(none)" : std::string(value, static_cast<std::size_t>(size));
}

// A replacement is a new file: it must be given what the file system keeps beside the bytes.
TEST(SafeWrite, KeepsTheReplacedFilesAccessListAndAttributes) {
  TemporaryFolder folder;
  const std::string name = folder.Path("a.ato");
  WriteBytes(name, "old");
  ::chmod(name.c_str(), 0640);
  // Read access for user 1234 besides the owner's: version 2, then (tag, permissions, id) for
  // the owner, user 1234, the owning group, the mask and the others.
  const std::string access(
      "\x02\0\0\0"
      "\x01\0\x06\0\xff\xff\xff\xff"
      "\x02\0\x04\0\xd2\x04\0\0"
      "\x04\0\x04\0\xff\xff\xff\xff"
      "\x10\0\x04\0\xff\xff\xff\xff"
      "\x20\0\0\0\xff\xff\xff\xff",
      44);
  ASSERT_EQ(::setxattr(name.c_str(), "system.posix_acl_access", access.data(), access.size(), 0), 0)
      << "the test folder's file system keeps no access control lists";
  ASSERT_EQ(::setxattr(name.c_str(), "user.origin", "lab 4", 5, 0), 0);
  struct stat before {};
  ::stat(name.c_str(), &before);

  WriteFileSafely(name, "new");
  struct stat after {};
  ::stat(name.c_str(), &after);
  EXPECT_NE(after.st_ino, before.st_ino);  // replaced, not written over
  EXPECT_EQ(ReadBytes(name), "new");
  EXPECT_EQ(Attribute(name, "system.posix_acl_access"), access);
  EXPECT_EQ(Attribute(name, "user.origin"), "lab 4");
  EXPECT_EQ(ModeOf(name) & 07777, 0640u);
}

TEST(SafeWrite, ReplacesTheFileALinkPointsToAndKeepsTheLink) {
  TemporaryFolder folder;
  ASSERT_EQ(::mkdir(folder.Path("real").c_str(), 0700), 0);
  WriteBytes(folder.Path("real/a.ato"), "old");
  ASSERT_EQ(::symlink("real/a.ato", folder.Path("link.ato").c_str()), 0);
  WriteFileSafely(folder.Path("link.ato"), "new");
  EXPECT_TRUE(S_ISLNK(ModeOf(folder.Path("link.ato"))));
  EXPECT_EQ(ReadBytes(folder.Path("real/a.ato")), "new");
  EXPECT_EQ(folder.Entries("real"), std::set<std::string>{"a.ato"});
}

// Replacing by rename needs only the folder's permission; a file its owner made read-only is
// still refused, as writing it in place would be.
TEST(SafeWrite, RefusesAFileThatMayNotBeWritten) {
  TemporaryFolder folder;
  ::chmod(folder.Path().c_str(), 0777);
  const std::string name = folder.Path("locked.ato");
  WriteBytes(name, "old");
  ::chmod(name.c_str(), 0444);
  const int result = ExitCodeInChildProcess([&] {
    if (!DropSuperuserRights()) return 3;
    try {
      WriteFileSafely(name, "new");
      return 1;
    } catch (const IoError& error) {
      return error.what() == std::string("File access denied") ? 0 : 2;
    }
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadBytes(name), "old");
  EXPECT_EQ(folder.Entries(), std::set<std::string>{"locked.ato"});
}

// Where a new file would lose what the file is, or the folder takes none, the file itself is
// written: its inode, owner and other names stay, and nothing is left beside it.
TEST(SafeWrite, WritesInPlaceWhereANewFileWouldLoseTheFileOrIsRefused) {
  const bool superuser = ::geteuid() == 0;
  const struct {
    const char* name;
    std::function<void(const TemporaryFolder&, const std::string& target)> arrange;
    bool savedByTheOrdinaryUser;
  } cases[] = {
      {"a second hard link",
       [](const TemporaryFolder& folder, const std::string& target) {
         ASSERT_EQ(::link(target.c_str(), folder.Path("other.ato").c_str()), 0);
       },
       false},
      // Only the superuser can give a file away (CI runs as the superuser); others skip this case.
      {"another owner",
       [](const TemporaryFolder&, const std::string& target) {
         ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
       },
       false},
      // The ordinary user owns the file but may not write its folder.
      {"a folder that takes no new file",
       [&](const TemporaryFolder& folder, const std::string& target) {
         if (superuser) {
           ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
         }
         ::chmod(folder.Path().c_str(), 0555);
       },
       true},
  };
  for (const auto& c : cases) {
    if (!superuser && std::string(c.name) == "another owner") continue;
    SCOPED_TRACE(c.name);
    TemporaryFolder folder;
    ::chmod(folder.Path().c_str(), 0755);  // reachable by an unprivileged child
    const std::string name = folder.Path("a.ato");
    WriteBytes(name, "the old content, longer than the new");
    ::chmod(name.c_str(), 0644);
    c.arrange(folder, name);
    struct stat before {};
    ASSERT_EQ(::stat(name.c_str(), &before), 0);
    const std::set<std::string> entries = folder.Entries();
    const int result = ExitCodeInChildProcess([&] {
      if (c.savedByTheOrdinaryUser && !DropSuperuserRights()) return 3;
      try {
        WriteFileSafely(name, "new");
        return 0;
      } catch (const IoError&) {
        return 1;
      }
    });
    ::chmod(folder.Path().c_str(), 0755);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadBytes(name), "new");
    struct stat after {};
    ASSERT_EQ(::stat(name.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(folder.Entries(), entries);
  }
}

}  // namespace
}  // namespace velmora
