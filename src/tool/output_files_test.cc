#include "tool/output_files.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "gtest/gtest.h"

namespace polimreza {
namespace {

namespace fs = std::filesystem;

class OutputFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/polimreza-output-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir_ = name;
  }
  void TearDown() override { fs::remove_all(dir_); }

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

  fs::path dir_;
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

}  // namespace
}  // namespace polimreza
