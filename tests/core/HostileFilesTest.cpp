// Files that are not what their names promise, and disks that refuse to take a save.
// Reading: a start file, document or comment file that is missing, empty, a folder, a FIFO, a
// device or unreadable opens or is refused at once with the platform's text; nothing waits for
// a writer or a keyboard. Writing: a full disk, a folder that may not be written, a missing
// folder, a name too long, a device or FIFO in the target's place all give the platform's
// text, and the old file stays byte for byte with no temporary file beside it.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

#include "SceneFactory.h"
#include "TemporaryFolder.h"
#include "documents/CommentFile.h"
#include "documents/ConfigFolder.h"
#include "documents/DocumentFile.h"
#include "documents/RecentDocuments.h"
#include "documents/SavedComparison.h"
#include "documents/StartFile.h"
#include "model/ProgramError.h"

namespace velmora {
namespace {

using namespace testing;

// Runs body in a child process that is ended after ten seconds, so that an operation that
// blocks fails the test instead of hanging the suite. The child's exit code, -1 when it hung.
int ExitCodeWithinTenSeconds(const std::function<int()>& body) {
  return ExitCodeInChildProcess([&] {
    ::alarm(10);
    return body();
  });
}

// The text of the IoError that operation throws, or "" when it throws none.
std::string IoErrorText(const std::function<void()>& operation) {
  try {
    operation();
    return "";
  } catch (const IoError& error) {
    return error.what();
  }
}

bool IsCharacterDevice(const std::string& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0 && S_ISCHR(status.st_mode);
}

// --- Reading -------------------------------------------------------------------------------

class HostileReads : public ::testing::Test {
 protected:
  void SetUp() override { ::chmod(folder_.Path().c_str(), 0755); }

  std::string Fifo(const std::string& name) {
    const std::string path = folder_.Path(name);
    EXPECT_EQ(::mkfifo(path.c_str(), 0666), 0);
    return path;
  }

  TemporaryFolder folder_;
};

TEST_F(HostileReads, StartFileOfEveryKind) {
  EnvironmentVariable config("XDG_CONFIG_HOME", folder_.Path("config"));
  ASSERT_EQ(::mkdir(folder_.Path("config").c_str(), 0755), 0);
  ASSERT_EQ(::mkdir(folder_.Path("config/velmora").c_str(), 0755), 0);
  const std::string path = StartFilePath();

  EXPECT_EQ(ReadStartFile(), std::nullopt) << "missing";
  WriteBytes(path, "");
  EXPECT_EQ(ReadStartFile(), "") << "empty";
  WriteBytes(path, "/d/\x01\xFF\xFE.ato\r\n");
  EXPECT_EQ(ReadStartFile(), "/d/\x01\xFF\xFE.ato") << "bytes of no code page";
  ::unlink(path.c_str());

  ASSERT_EQ(::mkdir(path.c_str(), 0755), 0);
  EXPECT_EQ(ReadStartFile(), std::nullopt) << "a folder";
  ::rmdir(path.c_str());

  ASSERT_EQ(::symlink("/dev/null", path.c_str()), 0);
  EXPECT_EQ(ReadStartFile(), "") << "a device with nothing in it";
  ::unlink(path.c_str());

  ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
  EXPECT_EQ(ExitCodeWithinTenSeconds([] { return ReadStartFile() == std::nullopt ? 0 : 1; }), 0) << "a FIFO";
  ::unlink(path.c_str());

  // A line longer than any name: a device without end, or a file that is no start file.
  ASSERT_EQ(::symlink("/dev/zero", path.c_str()), 0);
  EXPECT_EQ(ExitCodeWithinTenSeconds(
                [] { return IoErrorText([] { ReadStartFile(); }) == "Invalid filename" ? 0 : 1; }),
            0)
      << "a device without end";
  ::unlink(path.c_str());
  WriteBytes(path, std::string(LongestNameBytes + 1, 'a') + "\n");
  EXPECT_EQ(IoErrorText([] { ReadStartFile(); }), "Invalid filename") << "a line longer than a name";
  WriteBytes(path, std::string(LongestNameBytes, 'a'));
  EXPECT_EQ(ReadStartFile(), std::string(LongestNameBytes, 'a')) << "the longest name";

  WriteBytes(path, "/d/a.ato");
  ::chmod(path.c_str(), 0);
  EXPECT_EQ(ExitCodeInChildProcess([] {
              if (!DropSuperuserRights()) return 3;
              return ReadStartFile() == std::nullopt ? 0 : 1;
            }),
            0)
      << "unreadable";
}

// What start-up tries (TryReadDocumentFile) and File > Open does (ReadDocumentFile) with a
// remembered name that is no document file.
TEST_F(HostileReads, DocumentThatIsNoFile) {
  ASSERT_EQ(::mkdir(folder_.Path("folder.ato").c_str(), 0755), 0);
  Model model = EmptyDocument();
  model.Snapshot.fill(0x33);
  const auto before = model.Snapshot;
  EXPECT_FALSE(TryReadDocumentFile(model, folder_.Path("folder.ato")));
  EXPECT_EQ(IoErrorText([&] { ReadDocumentFile(model, folder_.Path("folder.ato")); }), "File access denied");
  EXPECT_EQ(IoErrorText([&] { ReadDocumentFile(model, "/dev/null"); }), "Read beyond end of file");
  EXPECT_EQ(IoErrorText([&] { TryReadDocumentFile(model, "/dev/null"); }), "Read beyond end of file");
  EXPECT_EQ(model.Snapshot, before);

  // Any 6296 bytes are a scene, the endless zeros of a device too: reading stops at the record.
  EXPECT_TRUE(TryReadDocumentFile(model, "/dev/zero"));
  EXPECT_EQ(model.Snapshot, decltype(model.Snapshot){});

  const std::string fifo = Fifo("pipe.ato");
  EXPECT_EQ(ExitCodeWithinTenSeconds([&] {
              Model m = EmptyDocument();
              if (TryReadDocumentFile(m, fifo)) return 1;
              return IoErrorText([&] { ReadDocumentFile(m, fifo); }) == "File access denied" ? 0 : 2;
            }),
            0);
}

// The recent list ends at a line longer than any name; the status bar's comparison with the
// document refuses a FIFO at once, as every other reader does.
TEST_F(HostileReads, RecentListAndComparisonOfNoFiles) {
  EnvironmentVariable config("XDG_CONFIG_HOME", folder_.Path("config"));
  ClearRecentDocuments();
  WriteBytes(RecentDocumentsPath(), "/a.ato\n" + std::string(LongestNameBytes + 1, 'b') + "\n/c.ato\n");
  EXPECT_EQ(ReadRecentDocuments(), std::vector<std::string>{"/a.ato"});
  ::unlink(RecentDocumentsPath().c_str());
  ASSERT_EQ(::symlink("/dev/zero", RecentDocumentsPath().c_str()), 0);
  EXPECT_EQ(ExitCodeWithinTenSeconds([] { return ReadRecentDocuments().empty() ? 0 : 1; }), 0) << "a device";
  const std::string fifo = Fifo("pipe.ato");
  EXPECT_EQ(ExitCodeWithinTenSeconds([&] { return DiffersFromDocument(EmptyDocument(), fifo) ? 0 : 1; }), 0);
}

// A terminal with nobody typing: reading it gives what the platform says rather than waiting.
TEST_F(HostileReads, DocumentThatIsATerminal) {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) GTEST_SKIP() << "no pseudo-terminals";
  const std::string terminal = ::ptsname(master);
  EXPECT_EQ(ExitCodeWithinTenSeconds([&] {
              Model m = EmptyDocument();
              return IoErrorText([&] { ReadDocumentFile(m, terminal); }) == "I/O error 11" ? 0 : 1;
            }),
            0);
  ::close(master);
}

TEST_F(HostileReads, CommentFileOfEveryKind) {
  std::string everyByte;
  for (int b = 0; b < 256; ++b) everyByte += static_cast<char>(b);
  const struct {
    std::string file;
    std::string memo;
  } cases[] = {
      // Every byte but the line ends is kept, the NUL included; CR and LF become CR LF.
      {everyByte, everyByte.substr(0, 10) + "\r\n" + everyByte.substr(11, 2) + "\r\n" + everyByte.substr(14)},
      {"no final line end", "no final line end"},
      {"ends in a lone CR\r", "ends in a lone CR\r\n"},
      {"\r", "\r\n"},
      {"\n\n", "\r\n\r\n"},
      {std::string("\0\0", 2), std::string("\0\0", 2)},
  };
  const std::string name = folder_.Path("scene.txt");
  for (const auto& c : cases) {
    WriteBytes(name, c.file);
    EXPECT_EQ(ReadCommentFile(name), c.memo);
  }

  ::unlink(name.c_str());
  ASSERT_EQ(::mkdir(name.c_str(), 0755), 0);
  EXPECT_EQ(ReadCommentFile(name), std::nullopt) << "a folder is no comment";
  EXPECT_EQ(ReadCommentFile("/dev/null"), "");
  try {
    ReadCommentFile("/dev/zero");
    ADD_FAILURE() << "an endless comment was loaded";
  } catch (const ProgramError& error) {
    EXPECT_STREQ(error.what(), "Text exceeds memo capacity");
  }
  const std::string fifo = Fifo("pipe.txt");
  EXPECT_EQ(ExitCodeWithinTenSeconds([&] { return ReadCommentFile(fifo) == std::nullopt ? 0 : 1; }), 0);
}

// --- Writing -------------------------------------------------------------------------------

// One of the three files a save writes, with the old content it replaces. Every save writes
// more than the thousand bytes the full disk below takes.
struct Writer {
  const char* kind;
  std::function<void(const std::string& folder)> write;  // the save, into the given folder
  const char* target;                                    // the file's name in that folder
  std::string content;                                   // what the file held before
  std::string written;                                   // what a save that succeeds leaves
};

const std::string LongDocumentName = "/scenes/" + std::string(3000, 'n') + ".ato";

Model SavedScene() {
  Model model = EmptyDocument();
  model.dt = 0.001L;
  return model;
}

std::string SavedSceneBytes() {
  Model model = SavedScene();
  TakeSnapshot(model);
  return std::string(model.Snapshot.begin(), model.Snapshot.end());
}

std::vector<Writer> Writers() {
  return {
      {"document",
       [](const std::string& folder) {
         Model model = SavedScene();
         WriteDocumentFile(model, folder + "/scene.ato");
       },
       "scene.ato", std::string(SnapshotSize, '\x5C'), SavedSceneBytes()},
      {"comment",
       [](const std::string& folder) { WriteCommentFile(folder + "/scene.txt", std::string(5000, 'c')); },
       "scene.txt", "old comment\r\n", std::string(5000, 'c')},
      // The start file lives in <XDG_CONFIG_HOME>/velmora; the tests point the variable there.
      {"start file", [](const std::string&) { WriteStartFile(LongDocumentName); }, "Start.-am-", "/old/a.ato",
       LongDocumentName},
  };
}

class FailedWrite : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    ::chmod(folder_.Path().c_str(), 0755);  // reachable by an unprivileged child
    ASSERT_EQ(::mkdir(folder_.Path("velmora").c_str(), 0777), 0);
    WriteBytes(target_, writer_.content);
    ::chmod(target_.c_str(), 0666);
  }

  void ExpectOldFileIntact() {
    EXPECT_TRUE(ReadBytes(target_) == writer_.content) << "the old file changed";
    EXPECT_EQ(folder_.Entries("velmora"), std::set<std::string>{writer_.target})
        << "a temporary file remains";
  }

  // The save's error text, in a child process that first applies the limit (false: it could not).
  std::string FailureInChild(const std::function<bool()>& limit) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return "no pipe";
    const int code = ExitCodeInChildProcess([&] {
      ::close(pipeEnds[0]);
      if (!limit()) return 3;
      const std::string text = IoErrorText([&] { writer_.write(folder_.Path("velmora")); });
      return ::write(pipeEnds[1], text.data(), text.size()) == static_cast<ssize_t>(text.size()) ? 0 : 4;
    });
    ::close(pipeEnds[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, n);
    ::close(pipeEnds[0]);
    return code == 0 ? text : "child exit " + std::to_string(code);
  }

  TemporaryFolder folder_;
  EnvironmentVariable config_{"XDG_CONFIG_HOME", folder_.Path()};
  const Writer writer_ = Writers()[GetParam()];
  const std::string target_ = folder_.Path("velmora/") + writer_.target;
};

TEST_P(FailedWrite, OnAFullDisk) {
  const std::string text = FailureInChild([] {
    // A file-size limit stands for the full disk once the signal that would end the process
    // is ignored: the write that crosses it fails with EFBIG.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = 1000;
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
  });
  EXPECT_EQ(text, "Disk full") << writer_.kind;
  ExpectOldFileIntact();
}

// A file that may be written in a folder that may not is written in place.
TEST_P(FailedWrite, InAFolderThatMayNotBeWrittenIsNoFailure) {
  ::chmod(folder_.Path("velmora").c_str(), 0555);
  EXPECT_EQ(FailureInChild(DropSuperuserRights), "") << writer_.kind;
  EXPECT_TRUE(ReadBytes(target_) == writer_.written) << writer_.kind;
  EXPECT_EQ(folder_.Entries("velmora"), std::set<std::string>{writer_.target});
}

TEST_P(FailedWrite, OverAFifoOrADevice) {
  ::unlink(target_.c_str());
  ASSERT_EQ(::mkfifo(target_.c_str(), 0666), 0);
  EXPECT_EQ(IoErrorText([&] { writer_.write(folder_.Path("velmora")); }), "File access denied")
      << writer_.kind;
  struct stat status {};
  EXPECT_TRUE(::stat(target_.c_str(), &status) == 0 && S_ISFIFO(status.st_mode)) << "the FIFO was replaced";
  EXPECT_EQ(folder_.Entries("velmora"), std::set<std::string>{writer_.target});

  // A device node of our own, a copy of the null device: should a save replace it after all,
  // the system's own device stays untouched. Only the superuser may make one.
  ::unlink(target_.c_str());
  if (::mknod(target_.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0) GTEST_SKIP() << "no device nodes here";
  EXPECT_EQ(IoErrorText([&] { writer_.write(folder_.Path("velmora")); }), "File access denied")
      << writer_.kind;
  EXPECT_TRUE(IsCharacterDevice(target_)) << "the device was replaced";
  EXPECT_EQ(folder_.Entries("velmora"), std::set<std::string>{writer_.target});
}

INSTANTIATE_TEST_SUITE_P(
    Writers, FailedWrite, ::testing::Values(0, 1, 2), [](const ::testing::TestParamInfo<int>& info) {
      return std::string(info.param == 0 ? "Document" : info.param == 1 ? "Comment" : "StartFile");
    });

// A name component longer than the system allows, and a whole path longer than it allows.
TEST(FailedWriteOfAnyFile, UnderANameTooLong) {
  TemporaryFolder folder;
  const std::string longComponent(300, 'n');
  std::string longPath = folder.Path();
  for (int level = 0; level < 25; ++level) longPath += "/" + std::string(200, 'p');
  longPath += "/a.ato";
  for (const std::string& name : {folder.Path(longComponent + ".ato"), longPath}) {
    Model model = EmptyDocument();
    EXPECT_EQ(IoErrorText([&] { WriteDocumentFile(model, name); }), "Invalid filename");
    EXPECT_EQ(IoErrorText([&] { WriteCommentFile(CommentFileName(name), "memo"); }), "Invalid filename");
  }
  {
    EnvironmentVariable config("XDG_CONFIG_HOME", folder.Path(longComponent));
    EXPECT_EQ(IoErrorText([] { WriteStartFile("/d/a.ato"); }), "Invalid filename");
  }
  EXPECT_TRUE(folder.Entries().empty());
}

TEST(FailedWriteOfAnyFile, CommentInAMissingFolder) {
  TemporaryFolder folder;
  EXPECT_EQ(IoErrorText([&] { WriteCommentFile(folder.Path("nowhere/scene.txt"), "memo"); }),
            "File not found");
  EXPECT_TRUE(folder.Entries().empty());
}

}  // namespace
}  // namespace velmora
