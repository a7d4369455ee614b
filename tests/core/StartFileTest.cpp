#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "TemporaryFolder.h"
#include "documents/ConfigFolder.h"
#include "documents/IoErrors.h"
#include "documents/StartFile.h"
#include "model/ProgramError.h"

namespace velmora {
namespace {

using namespace testing;

TEST(StartFile, LivesInTheUsersConfigurationFolder) {
  EnvironmentVariable home("HOME", "/home/someone");
  {
    EnvironmentVariable config("XDG_CONFIG_HOME", "/cfg/place");
    EXPECT_EQ(StartFilePath(), "/cfg/place/velmora/Start.-am-");
  }
  {
    EnvironmentVariable config("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(StartFilePath(), "/home/someone/.config/velmora/Start.-am-");
  }
  for (const char* ignored : {"", "relative/cfg"}) {
    EnvironmentVariable config("XDG_CONFIG_HOME", ignored);
    EXPECT_EQ(StartFilePath(), "/home/someone/.config/velmora/Start.-am-") << ignored;
  }
}

class StartFileTest : public ::testing::Test {
 protected:
  TemporaryFolder folder_;
  // Folders that do not exist yet: writing creates them.
  EnvironmentVariable config_{"XDG_CONFIG_HOME", folder_.Path("nested/config")};
  const std::string path_ = folder_.Path("nested/config/velmora/Start.-am-");
};

TEST_F(StartFileTest, AMissingFileCannotBeOpenedAndAnEmptyOneNamesNoDocument) {
  EXPECT_EQ(ReadStartFile(), std::nullopt);
  WriteStartFile("");
  EXPECT_EQ(ReadBytes(path_), "");
  EXPECT_EQ(ReadStartFile(), std::string());
  struct stat status {};
  ASSERT_EQ(::stat(folder_.Path("nested/config/velmora").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0700u);
}

TEST_F(StartFileTest, HoldsTheNameWithoutALineEnd) {
  WriteStartFile("/home/user/my scenes/a.ato");
  EXPECT_EQ(ReadBytes(path_), "/home/user/my scenes/a.ato");
  EXPECT_EQ(ReadStartFile(), "/home/user/my scenes/a.ato");
  WriteStartFile("/b.ato");
  EXPECT_EQ(ReadBytes(path_), "/b.ato");
  EXPECT_EQ(folder_.Entries("nested/config/velmora"), std::set<std::string>{"Start.-am-"});
}

TEST_F(StartFileTest, ReadingStopsAtTheFirstLineEnd) {
  WriteStartFile("");
  for (const char* content : {"/d/a.ato\r\n/d/b.ato", "/d/a.ato\n", "/d/a.ato\rrest"}) {
    WriteBytes(path_, content);
    EXPECT_EQ(ReadStartFile(), "/d/a.ato") << content;
  }
  WriteBytes(path_, "\n/d/a.ato");
  EXPECT_EQ(ReadStartFile(), std::string());
  // The longest name, with its line end longer than one read of the file.
  const std::string longName = "/" + std::string(LongestNameBytes - 5, 'n') + ".ato";
  WriteBytes(path_, longName + "\n");
  EXPECT_EQ(ReadStartFile(), longName);
}

TEST_F(StartFileTest, AFolderThatCannotBeMadeIsReported) {
  WriteBytes(folder_.Path("nested"), "a file where the folder should be");
  try {
    WriteStartFile("/d/a.ato");
    ADD_FAILURE() << "written";
  } catch (const IoError& error) {
    EXPECT_STREQ(error.what(), "File not found");
  }
}

}  // namespace
}  // namespace velmora
