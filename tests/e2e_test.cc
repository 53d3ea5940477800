// End-to-end tests: each folder under tests/e2e holds one run of the real
// program. Its `files/` folder (or the folder of the repository named in its
// `files_from`) is copied into a fresh temporary folder, the
// program runs there with the arguments listed in `args` (one a line;
// "pattern.txt" when there is no such file), and its whole standard output
// must equal `expected.txt`, with exit status 0 and nothing on stderr.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gtest/gtest.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> ReadArgs(const fs::path& case_dir) {
  if (!fs::exists(case_dir / "args")) return {"pattern.txt"};
  std::vector<std::string> args;
  std::istringstream lines(ReadFile(case_dir / "args"));
  for (std::string line; std::getline(lines, line);) args.push_back(line);
  return args;
}

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs the program in `dir` with `args`, capturing its output in files
// beside `dir`.
RunResult RunProgram(const fs::path& dir,
                     const std::vector<std::string>& args) {
  const fs::path out_path = dir.string() + ".stdout";
  const fs::path err_path = dir.string() + ".stderr";
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(127);
    int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0) _exit(127);
    dup2(out, 1);
    dup2(err, 2);
    std::vector<char*> argv;
    std::string program = POLIMREZA_BINARY;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (auto& arg : copies) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  RunResult result;
  int status = 0;
  waitpid(pid, &status, 0);
  result.status =
      WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = ReadFile(out_path);
  result.err = ReadFile(err_path);
  return result;
}

std::vector<std::string> CaseNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(POLIMREZA_E2E_DIR)) {
    if (entry.is_directory()) names.push_back(entry.path().filename());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class EndToEnd : public ::testing::TestWithParam<std::string> {};

TEST_P(EndToEnd, WholeOutputMatches) {
  const fs::path case_dir = fs::path(POLIMREZA_E2E_DIR) / GetParam();
  char scratch_template[] = "/tmp/polimreza-e2e-XXXXXX";
  ASSERT_NE(mkdtemp(scratch_template), nullptr);
  const fs::path scratch = scratch_template;
  const fs::path work = scratch / "run";
  fs::create_directory(work);
  if (fs::exists(case_dir / "files")) {
    fs::copy(case_dir / "files", work,
             fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  }
  if (fs::exists(case_dir / "files_from")) {
    std::string from = ReadFile(case_dir / "files_from");
    from.erase(from.find_last_not_of("\r\n") + 1);
    const fs::path repository = fs::path(POLIMREZA_E2E_DIR) / ".." / "..";
    fs::copy(repository / from, work,
             fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  }

  RunResult result = RunProgram(work, ReadArgs(case_dir));

  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, ReadFile(case_dir / "expected.txt"));
  fs::remove_all(scratch);
}

std::string CaseTestName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, EndToEnd, ::testing::ValuesIn(CaseNames()),
                         CaseTestName);

}  // namespace
