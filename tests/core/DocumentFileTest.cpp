#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cfloat>
#include <functional>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "SceneFactory.h"
#include "TemporaryFolder.h"
#include "documents/DocumentFile.h"
#include "documents/IoErrors.h"
#include "documents/StartFile.h"
#include "model/ProgramError.h"

namespace velmora {
namespace {

using namespace testing;

real FromBytes(std::initializer_list<unsigned char> bytes) {
  return LoadExtended(std::vector<unsigned char>(bytes).data());
}

// A scene with a value of its own in every stored place, empty slots included, and the bit
// patterns a document may hold that arithmetic would not keep: NaN payloads, -0, subnormals,
// infinities, a pseudo-denormal and an unnormal.
Model FilledModel() {
  Model model;
  model.N = SlotCount;
  model.dt = 0.001L;
  for (int p = 0; p < ParameterCount; ++p) Parameter(model, p) = 1.25L * p + 0.1L;
  for (int n = 1; n <= SlotCount; ++n) {
    model.X[n] = n + 0.1L;
    model.Y[n] = -n / 3.0L;
    model.Z[n] = n * 1e-7L;
    model.V[n] = n * 1e300L;
    model.U[n] = 1.0L / n;
    model.W[n] = -n - 0.5L;
    model.Present[n] = n % 3 != 0;
  }
  model.X[5] = FromBytes({0x21, 0x43, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F});
  model.Y[6] = -0.0L;
  model.Z[7] = LDBL_TRUE_MIN;
  model.V[8] = -std::numeric_limits<real>::infinity();
  model.U[9] = FromBytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0, 0});
  model.W[10] = FromBytes({1, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F});
  return model;
}

std::string DocumentBytes(const Model& model) {
  return std::string(reinterpret_cast<const char*>(model.Snapshot.data()), model.Snapshot.size());
}

using Slots = SlotArray<real> Model::*;

// Each array of `actual` named in the rows has the bits of its partner in `expected`.
void ExpectSameSlots(const Model& actual, const Model& expected,
                     std::initializer_list<std::tuple<const char*, Slots, Slots>> rows) {
  for (const auto& [name, actualSlots, expectedSlots] : rows)
    for (int n = 1; n <= SlotCount; ++n)
      EXPECT_TRUE(SameBits((actual.*actualSlots)[n], (expected.*expectedSlots)[n]))
          << name << "[" << n << "]";
}

void ExpectSameStoredState(const Model& actual, const Model& expected) {
  EXPECT_TRUE(SameBits(actual.dt, expected.dt));
  for (int p = 0; p < ParameterCount; ++p)
    EXPECT_TRUE(SameBits(Parameter(actual, p), Parameter(expected, p))) << ParameterNames[p];
  for (int n = 1; n <= SlotCount; ++n) EXPECT_EQ(actual.Present[n], expected.Present[n]) << n;
  ExpectSameSlots(actual, expected,
                  {{"X", &Model::X, &Model::X},
                   {"Y", &Model::Y, &Model::Y},
                   {"Z", &Model::Z, &Model::Z},
                   {"V", &Model::V, &Model::V},
                   {"U", &Model::U, &Model::U},
                   {"W", &Model::W, &Model::W}});
}

void ExpectIoError(const std::function<void()>& operation, int code, const std::string& text) {
  try {
    operation();
    ADD_FAILURE() << "no error, expected " << text;
  } catch (const IoError& error) {
    EXPECT_EQ(error.code(), code);
    EXPECT_EQ(error.what(), text);
  }
}

std::string Hex(const std::string& bytes) {
  std::string text;
  char buffer[4];
  for (unsigned char byte : bytes) {
    std::snprintf(buffer, sizeof buffer, "%02X ", byte);
    text += buffer;
  }
  return text.substr(0, text.size() - 1);
}

TEST(DocumentFile, StoresRealsAsTheirTenExtendedBytes) {
  TemporaryFolder folder;
  Model model = EmptyDocument();
  const std::string name = folder.Path("scene.ato");
  model.dt = 1.0L;
  WriteDocumentFile(model, name);
  EXPECT_EQ(Hex(ReadBytes(name).substr(0, 10)), "00 00 00 00 00 00 00 80 FF 3F");
  model.dt = 0.001L;
  WriteDocumentFile(model, name);
  EXPECT_EQ(Hex(ReadBytes(name).substr(0, 10)), "3B DF 4F 8D 97 6E 12 83 F5 3F");
}

TEST(DocumentFile, LaysOutTheRecordAsTheFormatSays) {
  TemporaryFolder folder;
  Model model = FilledModel();
  const std::string name = folder.Path("scene.ato");
  WriteDocumentFile(model, name);
  const std::string bytes = ReadBytes(name);
  ASSERT_EQ(bytes.size(), SnapshotSize);
  auto at = [&](std::size_t offset) {
    return LoadExtended(reinterpret_cast<const unsigned char*>(bytes.data()) + offset);
  };
  for (int p = 0; p < ParameterCount; ++p)
    EXPECT_TRUE(SameBits(at(10 + 10 * p), Parameter(model, p))) << ParameterNames[p];
  for (int n : {1, 2, 50, 99, 100}) {
    EXPECT_TRUE(SameBits(at(192 + 10 * (n - 1)), model.X[n]));
    EXPECT_TRUE(SameBits(at(1192 + 10 * (n - 1)), model.Y[n]));
    EXPECT_TRUE(SameBits(at(2192 + 10 * (n - 1)), model.Z[n]));
    EXPECT_TRUE(SameBits(at(3192 + 10 * (n - 1)), model.V[n]));
    EXPECT_TRUE(SameBits(at(4192 + 10 * (n - 1)), model.U[n]));
    EXPECT_TRUE(SameBits(at(5192 + 10 * (n - 1)), model.W[n]));
    EXPECT_EQ(bytes[6192 + (n - 1)], model.Present[n] ? 1 : 0);
  }
  // Nothing was read in this run, so both padding areas are zero.
  EXPECT_EQ(bytes.substr(190, 2), std::string(2, '\0'));
  EXPECT_EQ(bytes.substr(6292, 4), std::string(4, '\0'));
}

TEST(DocumentFile, ReadingBackRestoresEveryValueAndWritingAgainGivesTheSameBytes) {
  TemporaryFolder folder;
  Model original = FilledModel();
  WriteDocumentFile(original, folder.Path("first.ato"));
  // Padding that some earlier writer left in the file must survive the next save.
  std::string bytes = ReadBytes(folder.Path("first.ato"));
  bytes.replace(190, 2, "\x5A\xA5");
  bytes.replace(6292, 4, "\x01\x02\x03\x04");
  WriteBytes(folder.Path("first.ato"), bytes);

  Model loaded = EmptyDocument();
  ReadDocumentFile(loaded, folder.Path("first.ato"));
  ApplySnapshot(loaded);
  ExpectSameStoredState(loaded, original);
  WriteDocumentFile(loaded, folder.Path("second.ato"));
  EXPECT_TRUE(ReadBytes(folder.Path("second.ato")) == bytes) << "the second save differs";
}

TEST(DocumentFile, ApplyingSetsTheWorkingAndDisplayCopies) {
  Model source = FilledModel();
  TakeSnapshot(source);
  Model model = EmptyDocument();
  model.Snapshot = source.Snapshot;
  ApplySnapshot(model);
  ExpectSameSlots(model, source,
                  {{"NewX", &Model::NewX, &Model::X},
                   {"NewY", &Model::NewY, &Model::Y},
                   {"NewZ", &Model::NewZ, &Model::Z},
                   {"NewV", &Model::NewV, &Model::V},
                   {"NewU", &Model::NewU, &Model::U},
                   {"NewW", &Model::NewW, &Model::W},
                   {"ShownX", &Model::ShownX, &Model::X},
                   {"ShownY", &Model::ShownY, &Model::Y},
                   {"ShownZ", &Model::ShownZ, &Model::Z}});
}

TEST(DocumentFile, AnyNonzeroFlagIsAParticleAndEmptySlotsKeepTheirValues) {
  Model model = EmptyDocument();
  model.Snapshot[record::Present + 2] = 7;
  model.Snapshot[record::Present + 3] = 0;
  StoreExtended(&model.Snapshot[record::X + 10 * 3], 4.5L);
  ApplySnapshot(model);
  EXPECT_TRUE(model.Present[3]);
  EXPECT_FALSE(model.Present[4]);
  EXPECT_EQ(model.X[4], 4.5L);
}

// Opening and saving an unchanged document keeps every byte; a slot whose presence was changed
// gets 0 or 1.
TEST(DocumentFile, FlagBytesStayAsReadUntilTheSlotsPresenceChanges) {
  Model model = EmptyDocument();
  const std::array<unsigned char, 4> read = {7, 0, 0xFF, 2};
  std::copy(read.begin(), read.end(), model.Snapshot.begin() + record::Present);
  ApplySnapshot(model);
  model.Present[2] = true;
  model.Present[3] = false;
  TakeSnapshot(model);
  const std::array<unsigned char, 4> saved = {7, 1, 0, 2};
  EXPECT_TRUE(std::equal(saved.begin(), saved.end(), model.Snapshot.begin() + record::Present));
}

TEST(DocumentFile, AShortFileIsReadBeyondItsEndAndChangesNothing) {
  TemporaryFolder folder;
  const std::string name = folder.Path("short.ato");
  WriteBytes(name, std::string(SnapshotSize - 1, '\x11'));
  Model model = EmptyDocument();
  model.Snapshot.fill(0x77);
  const auto before = model.Snapshot;
  ExpectIoError([&] { ReadDocumentFile(model, name); }, 100, "Read beyond end of file");
  ExpectIoError([&] { TryReadDocumentFile(model, name); }, 100, "Read beyond end of file");
  WriteBytes(name, "");
  ExpectIoError([&] { ReadDocumentFile(model, name); }, 100, "Read beyond end of file");
  EXPECT_EQ(model.Snapshot, before);
}

TEST(DocumentFile, ALongerFileGivesItsFirstRecord) {
  TemporaryFolder folder;
  const std::string name = folder.Path("long.ato");
  std::string bytes;
  for (int i = 0; i < 7000; ++i) bytes += static_cast<char>(i * 7 % 251);
  WriteBytes(name, bytes);
  Model model = EmptyDocument();
  ReadDocumentFile(model, name);
  EXPECT_TRUE(DocumentBytes(model) == bytes.substr(0, SnapshotSize));
}

TEST(DocumentFile, AFileThatCannotBeOpenedIsReportedOrOnlyTested) {
  TemporaryFolder folder;
  Model model = EmptyDocument();
  model.Snapshot.fill(0x33);
  const auto before = model.Snapshot;
  ExpectIoError([&] { ReadDocumentFile(model, folder.Path("missing.ato")); }, 2, "File not found");
  ExpectIoError([&] { ReadDocumentFile(model, folder.Path("missing/a.ato")); }, 2, "File not found");
  ExpectIoError([&] { ReadDocumentFile(model, folder.Path("")); }, 5, "File access denied");
  EXPECT_FALSE(TryReadDocumentFile(model, folder.Path("missing.ato")));
  EXPECT_FALSE(TryReadDocumentFile(model, folder.Path("")));
  EXPECT_EQ(model.Snapshot, before);

  WriteBytes(folder.Path("good.ato"), std::string(SnapshotSize, '\x42'));
  EXPECT_TRUE(TryReadDocumentFile(model, folder.Path("good.ato")));
  EXPECT_TRUE(DocumentBytes(model) == std::string(SnapshotSize, '\x42'));
}

// Reading needs reading only: a document the user may not write is read all the same.
TEST(DocumentFile, AReadOnlyDocumentIsRead) {
  TemporaryFolder folder;
  ::chmod(folder.Path().c_str(), 0755);
  const std::string name = folder.Path("locked.ato");
  WriteBytes(name, std::string(SnapshotSize, '\x42'));
  ::chmod(name.c_str(), 0444);
  const int result = ExitCodeInChildProcess([&] {
    if (!DropSuperuserRights()) return 3;
    Model model = EmptyDocument();
    try {
      if (!TryReadDocumentFile(model, name)) return 1;
      model.Snapshot = {};
      ReadDocumentFile(model, name);
    } catch (const IoError&) {
      return 1;
    }
    return DocumentBytes(model) == std::string(SnapshotSize, '\x42') ? 0 : 2;
  });
  EXPECT_EQ(result, 0);
}

// A full disk, a folder that may not be written and a FIFO or device in the document's place are
// tested with the other files a save writes (HostileFilesTest).

// The record is written in full before the rename finds the folder in the way.
TEST(FailedSave, OverAFolderLeavesTheFolderAndNoTemporaryFile) {
  TemporaryFolder folder;
  ASSERT_EQ(::mkdir(folder.Path("dir.ato").c_str(), 0777), 0);
  WriteBytes(folder.Path("dir.ato/inside"), "kept");
  Model model = FilledModel();
  ExpectIoError([&] { WriteDocumentFile(model, folder.Path("dir.ato")); }, 5, "File access denied");
  EXPECT_EQ(ReadBytes(folder.Path("dir.ato/inside")), "kept");
  EXPECT_EQ(folder.Entries(), std::set<std::string>{"dir.ato"});
}

TEST(FailedSave, InAMissingFolderIsFileNotFound) {
  TemporaryFolder folder;
  Model model = FilledModel();
  ExpectIoError([&] { WriteDocumentFile(model, folder.Path("nowhere/a.ato")); }, 2, "File not found");
  ExpectIoError([&] { WriteDocumentFile(model, ""); }, 2, "File not found");
}

TEST(DocumentFile, RememberingTheDocumentWritesItsNameIntoTheStartFile) {
  TemporaryFolder folder;
  EnvironmentVariable config("XDG_CONFIG_HOME", folder.Path("config"));
  Model model = EmptyDocument();
  model.DocFileName = "/home/user/scenes/a.ato";
  RememberLastDocument(model);
  EXPECT_EQ(model.LastDocFileName, "/home/user/scenes/a.ato");
  EXPECT_EQ(ReadBytes(folder.Path("config/velmora/Start.-am-")), "/home/user/scenes/a.ato");
}

// The cases a user meets, and the fallback that carries the system's number.
TEST(IoErrors, MapTheSystemsErrorNumbersToThePlatformTexts) {
  const struct {
    int errorNumber;
    int code;
    const char* text;
  } cases[] = {{ENOENT, 2, "File not found"},      {ENAMETOOLONG, 3, "Invalid filename"},
               {EMFILE, 4, "Too many open files"}, {EROFS, 5, "File access denied"},
               {EFBIG, 101, "Disk full"},          {EIO, EIO, "I/O error 5"}};
  for (const auto& c : cases) {
    const IoError error = SystemIoError(c.errorNumber);
    EXPECT_EQ(error.code(), c.code) << c.text;
    EXPECT_STREQ(error.what(), c.text);
  }
}

}  // namespace
}  // namespace velmora
