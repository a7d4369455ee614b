// Any 6296 bytes are a scene. Documents holding every 80-bit encoding in every field (NaNs,
// infinities, denormals, and the pseudo-denormals, unnormals, pseudo-infinities and pseudo-NaNs
// that no arithmetic produces), flag bytes other than 0 and 1, and random bytes: they open,
// show what they hold, step (completing or reporting the fault, with the fast evaluation giving
// the literal bits), and save back bit for bit.
//
// Encodings the FPU refuses as operands stay data: they are loaded, shown and saved unchanged,
// and a step that computes with one reports "Invalid floating point operation" as for any other
// invalid operand. Refusing them when opening would turn a readable document into an unreadable
// one for a value the user may never run.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "TemporaryFolder.h"
#include "documents/DocumentFile.h"
#include "model/FloatingPointFaults.h"
#include "model/ProgramError.h"
#include "sim/Stepper.h"
#include "tests/core/ModelBits.h"
#include "tests/core/SceneFactory.h"
#include "text/Listing.h"
#include "text/NumberText.h"

namespace velmora {
namespace {

using Bytes = std::array<unsigned char, ExtendedBytes>;

// Ten bytes, little-endian: significand (bit 63 is the explicit integer bit), sign and exponent.
struct Encoding {
  const char* name;
  Bytes bytes;
  const char* text;  // what the listing and the fields show
};

constexpr Encoding Encodings[] = {
    {"zero", {0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x00}, "0"},
    {"negative zero", {0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x80}, "0"},
    {"one", {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}, "1"},
    {"least denormal", {1, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x00}, "3.64519953188247E-4951"},
    {"greatest denormal",
     {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x80},
     "-3.36210314311209E-4932"},
    {"pseudo-denormal", {0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0x00}, "3.36210314311209E-4932"},
    {"pseudo-denormal with fraction", {0, 0, 0, 0, 0, 0, 0, 0xC0, 0x00, 0x80}, "-5.04315471466814E-4932"},
    {"least normal", {0, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x00}, "3.36210314311209E-4932"},
    {"greatest finite",
     {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x7F},
     "1.18973149535723E4932"},
    {"negative greatest finite",
     {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF},
     "-1.18973149535723E4932"},
    {"infinity", {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}, "INF"},
    {"negative infinity", {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF}, "-INF"},
    {"quiet NaN", {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F}, "NAN"},
    {"negative quiet NaN with payload", {0x21, 0x43, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0xFF}, "NAN"},
    {"signaling NaN", {1, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}, "NAN"},
    {"pseudo-infinity", {0, 0, 0, 0, 0, 0, 0, 0x00, 0xFF, 0x7F}, "NAN"},
    {"pseudo-NaN", {0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0xFF}, "NAN"},
    {"unnormal", {0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F}, "NAN"},
    {"unnormal with a zero significand", {0, 0, 0, 0, 0, 0, 0, 0x00, 0x01, 0x40}, "NAN"},
};
constexpr int EncodingCount = std::size(Encodings);

// The 619 ten-byte fields of the record: dt, the parameters, then the six slot arrays.
constexpr int FieldCount = 1 + ParameterCount + 6 * SlotCount;
// dt and the parameters lie end to end from offset 0, the six arrays end to end from X's offset.
constexpr int FirstSlotField = 1 + ParameterCount;
std::size_t FieldOffset(int field) {
  return field < FirstSlotField ? ExtendedBytes * field
                                : record::X + ExtendedBytes * (field - FirstSlotField);
}

using Record = std::array<unsigned char, SnapshotSize>;

// A record holding encoding (field + shift) in each field: over all shifts, every field holds
// every encoding once. Flag bytes run through 0 .. 255, padding holds bytes of its own.
Record MixedRecord(int shift) {
  Record record{};
  for (int field = 0; field < FieldCount; ++field) {
    const Bytes& bytes = Encodings[(field + shift) % EncodingCount].bytes;
    std::copy(bytes.begin(), bytes.end(), record.begin() + FieldOffset(field));
  }
  for (int n = 0; n < SlotCount; ++n)
    record[record::Present + n] = static_cast<unsigned char>(n * 37 + shift);
  record[190] = 0xA5, record[191] = 0x5A;
  record[6292] = 1, record[6293] = 2, record[6294] = 3, record[6295] = 0xFF;
  return record;
}

Model ModelOf(const Record& record) {
  Model model = testing::EmptyDocument();
  model.Snapshot = record;
  ApplySnapshot(model);
  return model;
}

std::string AsText(const Record& record) { return std::string(record.begin(), record.end()); }

// The text with the locale's separator in place of ".".
std::string WithSeparator(std::string text, char separator) {
  std::replace(text.begin(), text.end(), '.', separator);
  return text;
}

TEST(HostileDocument, EveryEncodingHasItsTextAndShowingItRaisesNoFault) {
  for (const Encoding& e : Encodings) {
    const real value = LoadExtended(e.bytes.data());
    ClearFaultFlags();
    EXPECT_EQ(FormatReal(value, '.'), e.text) << e.name;
    EXPECT_EQ(FormatReal(value, ','), WithSeparator(e.text, ',')) << e.name;
    EXPECT_FALSE(FaultFlagged()) << e.name;
  }
}

// Opening, listing and saving: every value and every flag byte comes back with its bits, padding kept.
TEST(HostileDocument, OpensListsAndSavesEveryEncodingInEveryField) {
  testing::TemporaryFolder folder;
  for (int shift = 0; shift < EncodingCount; ++shift) {
    SCOPED_TRACE(shift);
    const Record record = MixedRecord(shift);
    testing::WriteBytes(folder.Path("hostile.ato"), AsText(record));
    Model model = testing::EmptyDocument();
    ClearFaultFlags();
    ReadDocumentFile(model, folder.Path("hostile.ato"));
    ApplySnapshot(model);
    for (int n = 1; n <= SlotCount; ++n) {
      EXPECT_EQ(model.Present[n], record[record::Present + n - 1] != 0);
      if (!model.Present[n]) continue;
      for (bool velocities : {false, true}) {
        const auto cells = ListingCells(model, n, velocities, ',');
        for (int axis = 0; axis < 3; ++axis) {
          const int field = FirstSlotField + (axis + (velocities ? 3 : 0)) * SlotCount + (n - 1);
          EXPECT_EQ(cells[axis], WithSeparator(Encodings[(field + shift) % EncodingCount].text, ','));
        }
      }
    }
    EXPECT_FALSE(FaultFlagged());
    WriteDocumentFile(model, folder.Path("saved.ato"));
    EXPECT_TRUE(testing::ReadBytes(folder.Path("saved.ato")) == AsText(record));
  }
}

// --- Steps ---------------------------------------------------------------------------------

StepSettings Settings(int variant) {
  StepSettings s;
  switch (variant) {
    case 1:
      s.Law = {true, true};
      s.Cool = true;
      break;
    case 2:
      s.Blockade = true;
      s.Mode = BoundaryMode::ElecCurrent1;
      break;
    case 3:
      s.Law.Functions3X1 = true;
      s.Mode = BoundaryMode::ColdContact;
      break;
    default:
      break;
  }
  return s;
}
constexpr int SettingsVariants = 4;

const std::set<std::string> FaultTexts = {InvalidOperationText, DivisionByZeroText, OverflowText};

// A step's outcome: "" when it completed, otherwise the fault's text.
std::string StepOutcome(Stepper& stepper, Model& model, const StepSettings& settings, int& counter) {
  try {
    stepper.Step(model, settings, counter);
    return "";
  } catch (const FloatingPointFault& fault) {
    return fault.what();
  }
}

// A sane scene of a dozen particles, some in the Blockade ranges, that steps without a fault.
Model SaneScene() {
  std::mt19937_64 rng(2026);
  Model m = testing::RandomScene(rng, 1.3L, 0.0, false);
  for (int n : {1, 7, 20, 50, 51, 60, 71, 73, 76, 79, 81, 100}) m.Present[n] = true;
  TakeSnapshot(m);
  return m;
}

class HostileSteps : public ::testing::Test {
 protected:
  // Steps the hostile model literally and fast from the same state and compares everything;
  // then opens the sane scene and steps it with the same fast stepper, which must give the bits
  // a fresh stepper gives.
  void ExpectSameStepAndRecovery(const Model& hostile, int variant, const std::string& what) {
    SCOPED_TRACE(what);
    const StepSettings settings = Settings(variant);
    Model a = hostile, b = hostile;
    int ca = 10, cb = 10;
    const std::string literalOutcome = StepOutcome(literal_, a, settings, ca);
    const std::string fastOutcome = StepOutcome(fast_, b, settings, cb);
    EXPECT_EQ(fastOutcome, literalOutcome);
    ++outcomes_[literalOutcome];
    if (!literalOutcome.empty()) {
      EXPECT_TRUE(FaultTexts.count(literalOutcome)) << literalOutcome;
      EXPECT_EQ(a.StepCount, hostile.StepCount);
    }
    EXPECT_EQ(ca, 11);
    EXPECT_EQ(cb, 11);
    EXPECT_EQ(testing::FirstDifference(a, b), "");

    // The literal stepper keeps nothing from step to step; the fast one keeps its pool and its
    // tables, which must not carry the hostile step into the next one.
    b.Snapshot = sane_.Snapshot;
    ApplySnapshot(b);
    b.StepCount = 0;
    int counter = 0;
    EXPECT_EQ(StepOutcome(fast_, b, settings, counter), "");
    EXPECT_EQ(testing::FirstDifference(b, saneStepped_[variant]), "");
  }

  void SetUp() override {
    Stepper fresh(Evaluation::Literal);
    for (int variant = 0; variant < SettingsVariants; ++variant) {
      saneStepped_[variant] = sane_;
      saneStepped_[variant].StepCount = 0;
      int counter = 0;
      ASSERT_EQ(StepOutcome(fresh, saneStepped_[variant], Settings(variant), counter), "") << variant;
    }
  }

  Model sane_ = SaneScene();
  std::map<std::string, int> outcomes_;  // how many steps completed ("") or faulted with each text
  std::array<Model, SettingsVariants> saneStepped_;
  Stepper literal_{Evaluation::Literal};
  Stepper fast_{Evaluation::Fast, 2};
};

// The sane scene with one field replaced: a role names the field.
struct Role {
  std::string name;
  std::size_t offset;
};

std::vector<Role> Roles() {
  std::vector<Role> roles = {{"dt", record::Dt}};
  for (int p = 0; p < ParameterCount; ++p)
    roles.push_back({ParameterNames[p], record::Parameters + ExtendedBytes * p});
  const struct {
    const char* name;
    std::size_t base;
  } arrays[] = {{"X", record::X}, {"Y", record::Y}, {"Z", record::Z},
                {"V", record::V}, {"U", record::U}, {"W", record::W}};
  // Slot 7 is present, 72 is absent and in the x-only Blockade range, 73 present in it.
  for (const auto& array : arrays)
    for (int n : {7, 72, 73})
      roles.push_back(
          {std::string(array.name) + "[" + std::to_string(n) + "]", array.base + ExtendedBytes * (n - 1)});
  return roles;
}

// Each field and encoding under one of the settings, in turn.
TEST_F(HostileSteps, EveryEncodingInEveryKindOfField) {
  int turn = 0;
  for (const Role& role : Roles())
    for (const Encoding& e : Encodings) {
      Record record = sane_.Snapshot;
      std::copy(e.bytes.begin(), e.bytes.end(), record.begin() + role.offset);
      const int variant = turn++ % SettingsVariants;
      ExpectSameStepAndRecovery(ModelOf(record), variant,
                                role.name + " " + e.name + " settings " + std::to_string(variant));
    }
  // The table reaches every outcome: steps that complete and each of the three faults.
  for (const std::string& outcome : {std::string(), std::string(InvalidOperationText),
                                     std::string(DivisionByZeroText), std::string(OverflowText)})
    EXPECT_GT(outcomes_[outcome], 0) << "no step ended with '" << outcome << "'";
}

// The encodings the FPU refuses as operands are data, not a broken document: the step that
// computes with one reports an invalid operation, and the value stays as it was, to be saved.
TEST_F(HostileSteps, AnEncodingTheFpuRefusesFaultsTheStepAndStaysData) {
  for (const char* name : {"unnormal", "pseudo-infinity", "pseudo-NaN", "signaling NaN"}) {
    SCOPED_TRACE(name);
    const Encoding& e = *std::find_if(std::begin(Encodings), std::end(Encodings),
                                      [&](const Encoding& c) { return c.name == std::string(name); });
    Record record = sane_.Snapshot;
    std::copy(e.bytes.begin(), e.bytes.end(), record.begin() + record::Dt);
    Model model = ModelOf(record);
    int counter = 0;
    EXPECT_EQ(StepOutcome(fast_, model, Settings(0), counter), InvalidOperationText);
    TakeSnapshot(model);
    EXPECT_TRUE(std::equal(e.bytes.begin(), e.bytes.end(), model.Snapshot.begin() + record::Dt));
  }
}

TEST_F(HostileSteps, OneEncodingInEveryField) {
  for (int shift = 0; shift < EncodingCount; ++shift) {
    Record record{};
    for (int field = 0; field < FieldCount; ++field)
      std::copy(Encodings[shift].bytes.begin(), Encodings[shift].bytes.end(),
                record.begin() + FieldOffset(field));
    for (int n = 0; n < SlotCount; ++n) record[record::Present + n] = n % 3 == 0 ? 0 : 0x80;
    for (int variant = 0; variant < SettingsVariants; ++variant)
      ExpectSameStepAndRecovery(ModelOf(record), variant,
                                std::string(Encodings[shift].name) + " " + std::to_string(variant));
  }
}

// Random documents of three kinds: raw random bytes; the sane scene with random fields replaced
// by random bytes or table encodings; and values near 1 with random significands, half of them
// unnormal because the integer bit is random too.
TEST_F(HostileSteps, RandomDocuments) {
  std::mt19937_64 rng(6296);
  std::uniform_int_distribution<int> byte(0, 255), field(0, FieldCount - 1), encoding(0, EncodingCount - 1);
  for (int document = 0; document < 60; ++document) {
    Record record = sane_.Snapshot;
    const int kind = document % 3;
    if (kind == 0) {
      for (unsigned char& b : record) b = static_cast<unsigned char>(byte(rng));
    } else if (kind == 1) {
      for (int k = 0; k < 8; ++k) {
        const std::size_t offset = FieldOffset(field(rng));
        const Bytes& table = Encodings[encoding(rng)].bytes;
        for (int i = 0; i < ExtendedBytes; ++i)
          record[offset + i] = k % 2 ? table[i] : static_cast<unsigned char>(byte(rng));
      }
    } else {
      for (int f = 0; f < FieldCount; ++f) {
        const std::size_t offset = FieldOffset(f);
        for (int i = 0; i < 8; ++i) record[offset + i] = static_cast<unsigned char>(byte(rng));
        const int signAndExponent = (0x3FFC + byte(rng) % 8) | (byte(rng) & 0x80) << 8;  // 2^-3 .. 2^4
        record[offset + 8] = static_cast<unsigned char>(signAndExponent & 0xFF);
        record[offset + 9] = static_cast<unsigned char>(signAndExponent >> 8);
      }
      for (int n = 0; n < SlotCount; ++n) record[record::Present + n] = byte(rng) < 32 ? byte(rng) : 0;
    }
    const Model hostile = ModelOf(record);
    Model saved = hostile;
    TakeSnapshot(saved);
    EXPECT_TRUE(saved.Snapshot == record) << document;
    ExpectSameStepAndRecovery(hostile, document % SettingsVariants,
                              "random document " + std::to_string(document));
  }
}

}  // namespace
}  // namespace velmora
