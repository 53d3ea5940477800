#include "tool/input_files.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "gtest/gtest.h"
#include "tests/scratch_folder.h"

namespace polimreza {
namespace {

namespace fs = std::filesystem;

class InputFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(dir_ / "file.txt", std::ios::binary) << "AB;x\r\n";
    fs::create_directory(dir_ / "folder");
    ASSERT_EQ(mkfifo((dir_ / "fifo").c_str(), 0600), 0);
  }

  std::string Path(const std::string& name) const {
    return (dir_ / name).string();
  }

  ScratchFolder scratch_{"input"};
  const fs::path dir_ = scratch_.path();
};

TEST_F(InputFilesTest, RefusesWhatIsNotAFile) {
  const struct {
    std::string name;
    bool pipes;
    ReadError error;
  } cases[] = {
      {Path("missing"), false, ReadError::kMissing},
      {Path("file.txt/below"), false, ReadError::kMissing},
      {Path("folder"), true, ReadError::kFolder},
      {"/dev/zero", true, ReadError::kNotReadable},
      // Refused before it is opened, which would wait for a writer.
      {Path("fifo"), false, ReadError::kNotReadable},
      // "-" is a name like any other without a standard input.
      {"-", true, ReadError::kMissing},
  };
  for (const auto& c : cases) {
    auto read = ReadInput(c.name, InputRules{.pipes = c.pipes});
    ASSERT_TRUE(std::holds_alternative<ReadError>(read)) << c.name;
    EXPECT_EQ(std::get<ReadError>(read), c.error) << c.name;
  }
  EXPECT_EQ(std::get<ReadError>(OpenRegularFile(Path("folder"))),
            ReadError::kFolder);
  EXPECT_EQ(std::get<ReadError>(OpenRegularFile(Path("fifo"))),
            ReadError::kNotReadable);
  EXPECT_EQ(OpenForReading("/dev/zero"), nullptr);
}

TEST_F(InputFilesTest, ReadsFilesPipesAndTheStandardInput) {
  EXPECT_EQ(std::get<std::string>(ReadInput(Path("file.txt"), {})), "AB;x\r\n");
  std::istringstream in(std::string("A\0B", 3));
  EXPECT_EQ(
      std::get<std::string>(ReadInput("-", InputRules{.standard_input = &in})),
      std::string("A\0B", 3));

  const pid_t writer = fork();
  ASSERT_GE(writer, 0);
  if (writer == 0) {
    std::ofstream(Path("fifo")) << "piped";
    _exit(0);
  }
  auto piped = ReadInput(Path("fifo"), InputRules{.pipes = true});
  waitpid(writer, nullptr, 0);
  EXPECT_EQ(std::get<std::string>(piped), "piped");

  auto opened = OpenForReading(Path("file.txt"));
  ASSERT_NE(opened, nullptr);
  std::string line;
  std::getline(*opened, line);
  EXPECT_EQ(line, "AB;x\r");
}

}  // namespace
}  // namespace polimreza
