// "repo.dat": records written, updated in place, added at the end, and the
// file made when it is missing.
#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>

#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "scenario/pbem_repository.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

// While set, every read of this program at an offset finds the file ended,
// as one cut short under the reader by another program.
std::atomic<bool> gReadsFindTheEnd{false};

}  // namespace
}  // namespace tr

extern "C" ssize_t pread(int descriptor, void* into, size_t count, off_t offset) {
  if (tr::gReadsFindTheEnd.load()) return 0;
  return static_cast<ssize_t>(::syscall(SYS_pread64, descriptor, into, count, offset));
}

namespace tr {
namespace {

// While not 0, every write of this program at an offset takes at most this
// many bytes, as a signal or a nearly full disk may leave it.
std::atomic<std::size_t> gWritesTakeAtMost{0};

}  // namespace
}  // namespace tr

extern "C" ssize_t pwrite(int descriptor, const void* from, size_t count, off_t offset) {
  const std::size_t most = tr::gWritesTakeAtMost.load();
  if (most != 0 && count > most) count = most;
  return static_cast<ssize_t>(::syscall(SYS_pwrite64, descriptor, from, count, offset));
}

namespace tr {
namespace {

class PbemRepository : public testing::Test {
 protected:
  PbemRepository() {
    SetGameRoot(dir_.path());
    dir_.Write("data/pbem/.keep", "");
  }
  ~PbemRepository() override { SetGameRoot({}); }
  std::string Repo() const { return dir_.Read("data/pbem/repo.dat"); }
  void SetRepo(const std::string& bytes) const { dir_.Write("data/pbem/repo.dat", bytes); }

  test::TempDir dir_;
};

TEST_F(PbemRepository, RecordLayout) {
  const std::string record = MakePbemRepoRecord(0x01020304u, u"Ab\u0142");
  ASSERT_EQ(record.size(), kPbemRepoRecordSize);
  EXPECT_EQ(record.substr(0, 8), std::string("A\0b\0\x42\x01\0\0", 8));
  EXPECT_EQ(record.substr(500), "\x04\x03\x02\x01");
  const std::string cut = MakePbemRepoRecord(1, std::u16string(300, u'x'));
  EXPECT_EQ(cut.substr(496, 4), std::string("x\0\0\0", 4));  // unit 248 kept, the terminator after it
}

TEST_F(PbemRepository, EmptyFileGetsOneRecord) {
  SetRepo("");
  UpdatePbemRepository(2, u"Alpha");
  EXPECT_EQ(Repo(), MakePbemRepoRecord(2, u"Alpha"));
}

TEST_F(PbemRepository, MissingFileIsCreated) {
  UpdatePbemRepository(3, u"Alpha");
  EXPECT_EQ(Repo(), MakePbemRepoRecord(3, u"Alpha"));
}

TEST_F(PbemRepository, ExistingGameIsUpdatedInPlaceAndOthersAreKept) {
  SetRepo(MakePbemRepoRecord(1, u"Alpha") + MakePbemRepoRecord(1, u"Beta"));
  UpdatePbemRepository(4, u"Beta");
  EXPECT_EQ(Repo(), MakePbemRepoRecord(1, u"Alpha") + MakePbemRepoRecord(4, u"Beta"));
  UpdatePbemRepository(5, u"alpha");  // names are compared exactly
  EXPECT_EQ(Repo(), MakePbemRepoRecord(1, u"Alpha") + MakePbemRepoRecord(4, u"Beta") + MakePbemRepoRecord(5, u"alpha"));
  // Whole names: a game whose name begins as another's is a game of its own.
  UpdatePbemRepository(6, u"Alps");
  EXPECT_EQ(Repo(), MakePbemRepoRecord(1, u"Alpha") + MakePbemRepoRecord(4, u"Beta") + MakePbemRepoRecord(5, u"alpha") +
                        MakePbemRepoRecord(6, u"Alps"));
  EXPECT_EQ(FindPbemRepoPlayer(u"Alps"), 6u);
}

// A file that holds a part of a record keeps its bytes: a new record goes at
// the end, and a later hand-over of the same game finds and replaces it.
struct sPartialCase {
  const char* name;
  std::string before;  // the repository before the first hand-over of Beta
};

class PbemRepositoryPartial : public PbemRepository, public testing::WithParamInterface<sPartialCase> {};

TEST_P(PbemRepositoryPartial, NewRecordGoesAtTheEndAndIsFoundAgain) {
  const std::string& before = GetParam().before;
  SetRepo(before);
  UpdatePbemRepository(6, u"Beta");
  EXPECT_EQ(Repo(), before + MakePbemRepoRecord(6, u"Beta"));
  EXPECT_EQ(FindPbemRepoPlayer(u"Beta"), 6u);
  UpdatePbemRepository(8, u"Beta");
  EXPECT_EQ(Repo(), before + MakePbemRepoRecord(8, u"Beta"));
  EXPECT_EQ(FindPbemRepoPlayer(u"Beta"), 8u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PbemRepositoryPartial,
    testing::Values(sPartialCase{"ShorterThanARecord", "abc"},
                    sPartialCase{"OneByteShortOfARecord", std::string(kPbemRepoRecordSize - 1, 'z')},
                    sPartialCase{"RecordCutOffAtTheEnd",
                                 MakePbemRepoRecord(1, u"Alpha") + MakePbemRepoRecord(2, u"Beta").substr(0, 100)}),
    [](const testing::TestParamInfo<sPartialCase>& info) { return info.param.name; });

TEST_F(PbemRepository, RecordBeforeACutOffPartIsUpdatedInPlace) {
  const std::string cut = MakePbemRepoRecord(2, u"Beta").substr(0, 100);
  SetRepo(MakePbemRepoRecord(1, u"Alpha") + cut);
  UpdatePbemRepository(3, u"Alpha");
  EXPECT_EQ(Repo(), MakePbemRepoRecord(3, u"Alpha") + cut);
}

TEST_F(PbemRepository, ReadsBackTheNumberOfAGameByItsExactName) {
  EXPECT_EQ(FindPbemRepoPlayer(u"Alpha"), std::nullopt) << "no repository yet";
  const std::u16string longName(300, u'y');
  // A trailing part of a record is never read as one.
  SetRepo(MakePbemRepoRecord(1, u"Alpha") + MakePbemRepoRecord(7, longName) +
          MakePbemRepoRecord(9, u"Beta").substr(0, 503));
  EXPECT_EQ(FindPbemRepoPlayer(u"Alpha"), 1u);
  EXPECT_EQ(FindPbemRepoPlayer(longName), 7u) << "found by the name as the record cuts it";
  EXPECT_EQ(FindPbemRepoPlayer(u"alpha"), std::nullopt);
  EXPECT_EQ(FindPbemRepoPlayer(u"Beta"), std::nullopt);
}

// A repository that cannot be read whole is neither searched nor written:
// a record added then would stand beside the game's own.
TEST_F(PbemRepository, ARepositoryCutShortWhileReadIsNotWritten) {
  const std::string before = MakePbemRepoRecord(2, u"Alpha") + MakePbemRepoRecord(4, u"Beta");
  SetRepo(before);
  gReadsFindTheEnd = true;
  test::LogCapture log;
  const std::u16string fault = UpdatePbemRepository(6, u"Beta");
  const std::optional<std::uint32_t> found = FindPbemRepoPlayer(u"Alpha");
  gReadsFindTheEnd = false;
  EXPECT_EQ(fault, GetText("pbem_repo_write_failed"));
  EXPECT_EQ(found, std::nullopt);
  EXPECT_EQ(Repo(), before);
  EXPECT_TRUE(log.Contains(u"ERROR: Writing data\\pbem\\repo.dat failed"));
  EXPECT_EQ(UpdatePbemRepository(6, u"Beta"), u"");
  EXPECT_EQ(Repo(), MakePbemRepoRecord(2, u"Alpha") + MakePbemRepoRecord(6, u"Beta"));
}

// A record written a part at a time lands whole in its place.
TEST_F(PbemRepository, ARecordWrittenInPartsLandsWholeInItsPlace) {
  SetRepo(MakePbemRepoRecord(2, u"Alpha") + MakePbemRepoRecord(4, u"Beta"));
  gWritesTakeAtMost = 97;
  const std::u16string replaced = UpdatePbemRepository(6, u"Beta");
  const std::u16string added = UpdatePbemRepository(8, u"Gamma");
  gWritesTakeAtMost = 0;
  EXPECT_EQ(replaced, u"");
  EXPECT_EQ(added, u"");
  EXPECT_EQ(Repo(), MakePbemRepoRecord(2, u"Alpha") + MakePbemRepoRecord(6, u"Beta") + MakePbemRepoRecord(8, u"Gamma"));
}

// A game started with its standard input closed is given descriptor 0 for
// the repository, and reads it as any other.
TEST_F(PbemRepository, IsReadWhateverDescriptorItIsGiven) {
  SetRepo(MakePbemRepoRecord(3, u"Alpha") + MakePbemRepoRecord(9, u"Gamma"));
  const int input = ::dup(0);
  ASSERT_GE(input, 0);
  ::close(0);
  const std::optional<std::uint32_t> found = FindPbemRepoPlayer(u"Gamma");
  ::dup2(input, 0);
  ::close(input);
  EXPECT_EQ(found, 9u);
}

// The records of one budget are written and found, the last one too; a
// record that would take the file past it is refused with a line that says
// so, and a larger file is neither read nor written.
TEST_F(PbemRepository, RecordsWithinTheBudgetAreWrittenAndFoundAndNoneBeyond) {
  const std::filesystem::path file = dir_.path() / "data/pbem/repo.dat";
  SetRepo(MakePbemRepoRecord(3, u"Alpha"));
  std::filesystem::resize_file(file, kPbemRepoBudget - kPbemRepoRecordSize);
  EXPECT_EQ(UpdatePbemRepository(5, u"Beta"), u"");
  EXPECT_EQ(std::filesystem::file_size(file), kPbemRepoBudget);
  EXPECT_EQ(FindPbemRepoPlayer(u"Beta"), 5u);
  EXPECT_EQ(FindPbemRepoPlayer(u"Alpha"), 3u);
  {
    test::LogCapture log;
    EXPECT_EQ(UpdatePbemRepository(7, u"Gamma"), GetText("pbem_repo_too_large"));
    EXPECT_TRUE(log.ContainsText(u"ERROR: data\\pbem\\repo.dat holds 16777152 bytes; the record of Gamma would take "
                                 u"it past the 16777152 bytes of records the game keeps, so it is not written"));
  }
  EXPECT_EQ(std::filesystem::file_size(file), kPbemRepoBudget);
  EXPECT_EQ(FindPbemRepoPlayer(u"Gamma"), std::nullopt);
  EXPECT_EQ(UpdatePbemRepository(6, u"Beta"), u"");
  EXPECT_EQ(FindPbemRepoPlayer(u"Beta"), 6u);

  std::filesystem::resize_file(file, kPbemRepoBudget + 1);
  test::LogCapture log;
  EXPECT_EQ(FindPbemRepoPlayer(u"Alpha"), std::nullopt);
  EXPECT_EQ(UpdatePbemRepository(8, u"Alpha"), GetText("pbem_repo_too_large"));
  EXPECT_EQ(log.lines().size(), 2u);
  EXPECT_TRUE(log.ContainsText(u"ERROR: data\\pbem\\repo.dat holds 16777153 bytes, more than the 16777152 bytes of "
                               u"records the game keeps; it is neither read nor written"));
  EXPECT_EQ(std::filesystem::file_size(file), kPbemRepoBudget + 1);
  EXPECT_EQ(dir_.Read("data/pbem/repo.dat").substr(0, kPbemRepoRecordSize), MakePbemRepoRecord(3, u"Alpha"));
}

}  // namespace
}  // namespace tr
