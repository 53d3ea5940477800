// End-to-end tests: each folder under tests/e2e holds one run of a real
// program. Its `files/` folder (or the folder of the repository named in its
// `files_from`) is copied into a fresh temporary folder, the links listed in
// `links` (lines "NAME TARGET") are made there, and the program named in
// `program` (Polimreza when there is no such file) runs there with the
// arguments listed in `args` (one a line; "pattern.txt" when there is no such
// file) and standard input from `stdin` (empty when absent). Its whole
// standard output must equal `expected.txt`, its exit status the number in
// `status` (0 when absent), its standard error `expected_stderr.txt` (empty
// when absent), and every file under `expected_files/` must then stand in the
// folder with the same bytes. In those files a marker "@@NAME@@" stands for
// the bytes of the export page's file NAME (src/export/page/), which the
// program embeds verbatim, so the page's style and script are kept once.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "gtest/gtest.h"
#include "scratch_folder.h"

namespace fs = std::filesystem;
using polimreza::ScratchFolder;

namespace {

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The lines of `path`, without line ends; `fallback` when it is absent.
std::vector<std::string> ReadLines(const fs::path& path,
                                   std::vector<std::string> fallback) {
  if (!fs::exists(path)) return fallback;
  std::vector<std::string> lines;
  std::istringstream text(ReadFile(path));
  for (std::string line; std::getline(text, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// `expected` with every "@@NAME@@" that names a file of the export page's
// folder replaced by that file's bytes; any other "@@" stays as it is.
std::string WithPageFiles(const std::string& expected) {
  std::string out;
  std::size_t at = 0;
  for (;;) {
    const std::size_t open = expected.find("@@", at);
    if (open == std::string::npos) break;
    const std::size_t close = expected.find("@@", open + 2);
    if (close == std::string::npos) break;
    const std::string name = expected.substr(open + 2, close - open - 2);
    const fs::path file = fs::path(POLIMREZA_PAGE_DIR) / name;
    std::error_code error;
    if (name.find('/') != std::string::npos ||
        !fs::is_regular_file(file, error)) {
      out.append(expected, at, open + 2 - at);
      at = open + 2;
      continue;
    }
    out.append(expected, at, open - at);
    out += ReadFile(file);
    at = close + 2;
  }
  out.append(expected, at);
  return out;
}

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs `program` in `dir` with `args` and `input` as standard input,
// capturing its output in files beside `dir`.
RunResult RunProgram(const std::string& program, const fs::path& dir,
                     const std::vector<std::string>& args,
                     const fs::path& input) {
  const fs::path out_path = dir.string() + ".stdout";
  const fs::path err_path = dir.string() + ".stderr";
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(127);
    int in = open(input.c_str(), O_RDONLY);
    int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0) _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    std::vector<char*> argv;
    std::string path = program;
    argv.push_back(path.data());
    std::vector<std::string> copies = args;
    for (auto& arg : copies) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execv(path.c_str(), argv.data());
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
  const ScratchFolder scratch("e2e");
  const fs::path work = scratch.path() / "run";
  fs::create_directory(work);
  if (fs::exists(case_dir / "files")) {
    fs::copy(case_dir / "files", work, fs::copy_options::recursive);
  }
  for (const std::string& from : ReadLines(case_dir / "files_from", {})) {
    const fs::path repository = fs::path(POLIMREZA_E2E_DIR) / ".." / "..";
    fs::copy(repository / from, work, fs::copy_options::recursive);
  }
  // Links to devices are made here rather than committed: a committed link
  // to /dev/zero hangs tools that read every file of the tree.
  for (const std::string& link : ReadLines(case_dir / "links", {})) {
    const std::size_t space = link.find(' ');
    ASSERT_NE(space, std::string::npos) << link;
    fs::create_symlink(link.substr(space + 1), work / link.substr(0, space));
  }
  const fs::path input =
      fs::exists(case_dir / "stdin") ? case_dir / "stdin" : "/dev/null";
  const std::string program =
      ReadLines(case_dir / "program", {"Polimreza"}).at(0);

  RunResult result =
      RunProgram(std::string(POLIMREZA_BIN_DIR) + "/" + program, work,
                 ReadLines(case_dir / "args", {"pattern.txt"}), input);

  const std::vector<std::string> status = ReadLines(case_dir / "status", {"0"});
  EXPECT_EQ(result.status, std::stoi(status.at(0)));
  EXPECT_EQ(result.err, ReadFile(case_dir / "expected_stderr.txt"));
  EXPECT_EQ(result.out, ReadFile(case_dir / "expected.txt"));
  if (fs::exists(case_dir / "expected_files")) {
    for (const auto& entry :
         fs::recursive_directory_iterator(case_dir / "expected_files")) {
      if (!entry.is_regular_file()) continue;
      const fs::path relative =
          fs::relative(entry.path(), case_dir / "expected_files");
      EXPECT_EQ(ReadFile(work / relative),
                WithPageFiles(ReadFile(entry.path())))
          << "file " << relative;
    }
  }
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
