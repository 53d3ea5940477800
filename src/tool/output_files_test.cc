#include "tool/output_files.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>

#include "gtest/gtest.h"
#include "tests/scratch_folder.h"
#include "tool/messages.h"

namespace polimreza {
namespace {

namespace fs = std::filesystem;

class OutputFilesTest : public ::testing::Test {
 protected:
  std::string Read(const std::string& name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(dir_ / name, std::ios::binary) << text;
  }
  std::size_t Entries() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  ScratchFolder scratch_{"output"};
  const fs::path dir_ = scratch_.path();
};

TEST_F(OutputFilesTest, WritesEveryFile) {
  WriteResult result =
      WriteAll({{dir_ / "a.txt", "A\r\n"}, {dir_ / "b.txt", ""}}, false);
  EXPECT_EQ(result.status, WriteStatus::kWritten);
  EXPECT_EQ(Read("a.txt"), "A\r\n");
  EXPECT_EQ(Read("b.txt"), "");
  EXPECT_EQ(Entries(), 2u);
}

TEST_F(OutputFilesTest, ExistingFileStopsEverythingWithoutReplace) {
  Write("b.txt", "old");
  WriteResult result =
      WriteAll({{dir_ / "a.txt", "new"}, {dir_ / "b.txt", "new"}}, false);
  EXPECT_EQ(result.status, WriteStatus::kExists);
  EXPECT_EQ(result.path, dir_ / "b.txt");
  EXPECT_EQ(Read("b.txt"), "old");
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(OutputFilesTest, ReplacesWhenAllowed) {
  Write("a.txt", "old");
  EXPECT_EQ(WriteAll({{dir_ / "a.txt", "new"}}, true).status,
            WriteStatus::kWritten);
  EXPECT_EQ(Read("a.txt"), "new");
}

TEST_F(OutputFilesTest, FolderInTheWayIsNotReplaced) {
  fs::create_directory(dir_ / "a.txt");
  WriteResult result =
      WriteAll({{dir_ / "b.txt", "x"}, {dir_ / "a.txt", "x"}}, true);
  EXPECT_EQ(result.status, WriteStatus::kNotAFile);
  EXPECT_TRUE(fs::is_directory(dir_ / "a.txt"));
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(OutputFilesTest, FailureLeavesNoTemporaryFiles) {
  Write("a.txt", "old");
  WriteResult result = WriteAll(
      {{dir_ / "a.txt", "new"}, {dir_ / "missing" / "b.txt", "x"}}, true);
  EXPECT_EQ(result.status, WriteStatus::kCannotWrite);
  EXPECT_EQ(result.path, dir_ / "missing" / "b.txt");
  EXPECT_EQ(Read("a.txt"), "old");
  EXPECT_EQ(Entries(), 1u);
}

// Puts a folder holding a file where `name` is, so that no file can be
// renamed there.
void Obstruct(const fs::path& path) {
  fs::remove(path);
  fs::create_directory(path);
  std::ofstream(path / "x") << "x";
}

TEST_F(OutputFilesTest, FailedRenameUndoesTheEarlierOnes) {
  Write("a.txt", "old a");
  Write("c.txt", "old c");
  WriteResult result = WriteAll({{dir_ / "a.txt", "new"},
                                 {dir_ / "b.txt", "new"},
                                 {dir_ / "c.txt", "new"}},
                                true, [this](std::size_t i) {
                                  if (i == 2) Obstruct(dir_ / "c.txt");
                                });
  EXPECT_EQ(result.status, WriteStatus::kCannotWrite);
  EXPECT_EQ(result.path, dir_ / "c.txt");
  EXPECT_TRUE(result.unrestored.empty());
  EXPECT_EQ(DescribeWriteFailure(result), "Ne mogu da zapisem " +
                                              (dir_ / "c.txt").string() +
                                              "\nNista nije zapisano\n");
  EXPECT_EQ(Read("a.txt"), "old a");
  EXPECT_FALSE(fs::exists(dir_ / "b.txt"));
  EXPECT_EQ(Entries(), 2u);
}

TEST_F(OutputFilesTest, FileAppearingMeanwhileUndoesTheNewOnes) {
  WriteResult result =
      WriteAll({{dir_ / "a.txt", "new"}, {dir_ / "b.txt", "new"}}, false,
               [this](std::size_t i) {
                 if (i == 1) Write("b.txt", "theirs");
               });
  EXPECT_EQ(result.status, WriteStatus::kExists);
  EXPECT_EQ(result.path, dir_ / "b.txt");
  EXPECT_FALSE(fs::exists(dir_ / "a.txt"));
  EXPECT_EQ(Read("b.txt"), "theirs");
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(OutputFilesTest, TellsWhatCouldNotBeUndone) {
  Write("a.txt", "old a");
  Write("b.txt", "old b");
  WriteResult result =
      WriteAll({{dir_ / "a.txt", "new"}, {dir_ / "b.txt", "new"}}, true,
               [this](std::size_t i) {
                 if (i == 1) {
                   Obstruct(dir_ / "a.txt");
                   Obstruct(dir_ / "b.txt");
                 }
               });
  EXPECT_EQ(result.status, WriteStatus::kCannotWrite);
  ASSERT_EQ(result.unrestored.size(), 1u);
  const Unrestored& kept = result.unrestored[0];
  EXPECT_EQ(kept.path, dir_ / "a.txt");
  EXPECT_EQ(Read(kept.former.filename()), "old a");
  EXPECT_EQ(DescribeWriteFailure(result),
            "Ne mogu da zapisem " + (dir_ / "b.txt").string() + "\nFajl " +
                kept.path.string() + " je ipak zamenjen: stari sadrzaj je u " +
                kept.former.string() + "\nOstali fajlovi nisu promenjeni\n");
}

TEST_F(OutputFilesTest, RemovesWhatAKilledRunLeft) {
  const std::string prefix = TemporaryPrefix(dir_ / "a.txt");
  EXPECT_EQ(prefix, ".a.txt.polimreza-");
  Write(prefix + "Xy12Ab", "half");
  Write(prefix + "Xy12Ab-old", "old");
  Write(".b.txt.polimreza-Xy12Ab", "someone else's");
  EXPECT_EQ(WriteAll({{dir_ / "a.txt", "new"}}, false).status,
            WriteStatus::kWritten);
  EXPECT_EQ(Read("a.txt"), "new");
  EXPECT_EQ(Entries(), 2u);
}

TEST_F(OutputFilesTest, SecondRunIntoTheFolderWaits) {
  std::future<WriteResult> second;
  WriteResult first =
      WriteAll({{dir_ / "a.txt", "first"}}, true, [&](std::size_t) {
        second = std::async(std::launch::async, [this] {
          return WriteAll({{dir_ / "a.txt", "second"}}, true);
        });
        EXPECT_EQ(second.wait_for(std::chrono::milliseconds(200)),
                  std::future_status::timeout);
      });
  EXPECT_EQ(first.status, WriteStatus::kWritten);
  EXPECT_EQ(second.get().status, WriteStatus::kWritten);
  EXPECT_EQ(Read("a.txt"), "second");
  EXPECT_EQ(Entries(), 1u);
}

}  // namespace
}  // namespace polimreza
