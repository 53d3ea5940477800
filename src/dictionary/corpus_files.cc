#include "dictionary/corpus_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace polimreza {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kPiece = std::size_t{1} << 20;
constexpr std::size_t kBinaryWindow = std::size_t{1} << 16;

// Closes a file descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Appends the regular files under `folder` to `files`, sorted; false when
// the folder cannot be walked.
bool AddFolder(const fs::path& folder, std::vector<std::string>& files) {
  std::error_code error;
  std::vector<std::string> found;
  fs::recursive_directory_iterator it(folder, error);
  for (; !error && it != fs::recursive_directory_iterator();
       it.increment(error)) {
    std::error_code kind_error;
    if (it->is_regular_file(kind_error)) found.push_back(it->path().string());
  }
  if (error) return false;
  std::sort(found.begin(), found.end());
  files.insert(files.end(), found.begin(), found.end());
  return true;
}

}  // namespace

std::variant<std::vector<std::string>, CorpusNameError> ListCorpusFiles(
    const std::vector<std::string>& names) {
  std::vector<std::string> files;
  for (const std::string& name : names) {
    struct stat status;
    if (stat(name.c_str(), &status) != 0) {
      return CorpusNameError{name, errno == ENOENT || errno == ENOTDIR
                                       ? ReadError::kMissing
                                       : ReadError::kNotReadable};
    }
    if (S_ISDIR(status.st_mode)) {
      if (!AddFolder(name, files)) {
        return CorpusNameError{name, ReadError::kNotReadable};
      }
    } else if (S_ISREG(status.st_mode)) {
      files.push_back(name);
    } else {
      return CorpusNameError{name, ReadError::kNotReadable};
    }
  }
  return files;
}

CorpusFileResult ReadCorpusFile(
    const std::string& path, WordCounter& counter,
    const std::function<void(std::uint64_t)>& read) {
  CorpusFileResult result;
  Descriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    result.outcome = CorpusFileOutcome::kNotReadable;
    return result;
  }
  std::string piece(kPiece, '\0');
  const std::uint64_t invalid_before = counter.invalid_bytes();
  bool first = true;
  for (;;) {
    const ssize_t n = ::read(fd.get(), piece.data(), piece.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      result.outcome = CorpusFileOutcome::kNotReadable;
      break;
    }
    if (n == 0) break;
    const std::string_view text(piece.data(), static_cast<std::size_t>(n));
    if (first &&
        text.substr(0, kBinaryWindow).find('\0') != std::string_view::npos) {
      result.outcome = CorpusFileOutcome::kBinary;
      break;
    }
    first = false;
    counter.Add(text);
    result.bytes += static_cast<std::uint64_t>(n);
    if (read) read(result.bytes);
  }
  if (result.outcome == CorpusFileOutcome::kRead && result.bytes == 0) {
    result.outcome = CorpusFileOutcome::kEmpty;
  }
  counter.EndText();
  result.invalid_bytes = counter.invalid_bytes() - invalid_before;
  return result;
}

}  // namespace polimreza
