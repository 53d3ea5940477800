#include "tool/input_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <new>
#include <optional>

namespace polimreza {
namespace {

// Whether what `path` names may be read under `rules`; its status goes to
// `status`. Only regular files, and pipes when taken, have an end that comes
// once: a folder opens on some systems but fails at the first read, and a
// device such as /dev/zero never ends.
std::optional<ReadError> CheckKind(const std::string& path,
                                   const InputRules& rules,
                                   struct stat& status) {
  if (stat(path.c_str(), &status) != 0) {
    return errno == ENOENT || errno == ENOTDIR ? ReadError::kMissing
                                               : ReadError::kNotReadable;
  }
  if (S_ISDIR(status.st_mode)) return ReadError::kFolder;
  if (S_ISREG(status.st_mode)) return std::nullopt;
  if (rules.pipes && S_ISFIFO(status.st_mode)) return std::nullopt;
  return ReadError::kNotReadable;
}

// Appends everything left on `fd` to `text`.
std::optional<ReadError> ReadDescriptor(int fd, std::string& text) {
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return ReadError::kNotReadable;
    }
    if (n == 0) return std::nullopt;
    text.append(buffer, static_cast<std::size_t>(n));
  }
}

// Appends everything left on `in` to `text`.
std::optional<ReadError> ReadStream(std::istream& in, std::string& text) {
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) return ReadError::kNotReadable;
  return std::nullopt;
}

std::optional<ReadError> ReadFile(const std::string& path,
                                  const InputRules& rules, std::string& text) {
  struct stat status;
  if (auto refused = CheckKind(path, rules, status)) return refused;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return ReadError::kNotReadable;
  std::optional<ReadError> error;
  try {
    // The size known now saves growing the text while it is read; a file
    // that grows meanwhile is still read to its end.
    if (S_ISREG(status.st_mode)) {
      text.reserve(static_cast<std::size_t>(status.st_size));
    }
    error = ReadDescriptor(fd, text);
  } catch (const std::bad_alloc&) {
    error = ReadError::kOutOfMemory;
  }
  close(fd);
  return error;
}

}  // namespace

std::variant<std::string, ReadError> ReadInput(const std::string& name,
                                               const InputRules& rules) {
  std::string text;
  std::optional<ReadError> error;
  if (name == "-" && rules.standard_input) {
    try {
      error = ReadStream(*rules.standard_input, text);
    } catch (const std::bad_alloc&) {
      error = ReadError::kOutOfMemory;
    }
  } else {
    error = ReadFile(name, rules, text);
  }
  if (error) return *error;
  return text;
}

std::variant<std::unique_ptr<std::istream>, ReadError> OpenRegularFile(
    const std::string& path) {
  struct stat status;
  if (auto refused = CheckKind(path, InputRules(), status)) return *refused;
  auto in = std::make_unique<std::ifstream>(path, std::ios::binary);
  if (!in->is_open() || in->fail()) return ReadError::kNotReadable;
  in->peek();
  if (in->bad()) return ReadError::kNotReadable;
  in->clear();
  return std::unique_ptr<std::istream>(std::move(in));
}

std::unique_ptr<std::istream> OpenForReading(const std::string& path) {
  auto opened = OpenRegularFile(path);
  if (auto* in = std::get_if<std::unique_ptr<std::istream>>(&opened)) {
    return std::move(*in);
  }
  return nullptr;
}

}  // namespace polimreza
