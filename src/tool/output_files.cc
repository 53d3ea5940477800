#include "tool/output_files.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace polimreza {
namespace {

namespace fs = std::filesystem;

mode_t CurrentUmask() {
  mode_t mask = umask(0);
  umask(mask);
  return mask;
}

// Writes all of `contents` to `fd`, retrying short writes.
bool WriteFully(int fd, const std::string& contents) {
  std::size_t done = 0;
  while (done < contents.size()) {
    ssize_t n = write(fd, contents.data() + done, contents.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Makes a complete temporary copy of `file` beside its destination; empty
// on failure.
std::string WriteTemporary(const OutputFile& file, mode_t mode) {
  fs::path dir = file.path.parent_path();
  if (dir.empty()) dir = ".";
  // Built by appending: GCC 12 at -O3 wrongly warns (-Wrestrict) about
  // "." + std::string.
  std::string hidden = ".";
  hidden += file.path.filename().string();
  hidden += ".XXXXXX";
  std::string name = (dir / hidden).string();
  int fd = mkstemp(name.data());
  if (fd < 0) return {};
  bool ok =
      fchmod(fd, mode) == 0 && WriteFully(fd, file.contents) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (!ok) {
    unlink(name.c_str());
    return {};
  }
  return name;
}

// Renames `from` to `to`; without `replace`, fails when `to` exists, even
// if it appeared after the first check.
bool RenameInto(const std::string& from, const fs::path& to, bool replace) {
  if (replace) return rename(from.c_str(), to.c_str()) == 0;
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(),
                RENAME_NOREPLACE) == 0) {
    return true;
  }
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without the no-replace rename: a hard link fails the same
  // way on an existing destination.
  if (link(from.c_str(), to.c_str()) != 0) return false;
  unlink(from.c_str());
  return true;
}

}  // namespace

WriteResult WriteAll(const std::vector<OutputFile>& files, bool replace) {
  for (const OutputFile& file : files) {
    std::error_code error;
    fs::file_status status = fs::symlink_status(file.path, error);
    if (!fs::exists(status)) continue;
    if (!replace) return {WriteStatus::kExists, file.path};
    if (!fs::is_regular_file(fs::status(file.path, error))) {
      return {WriteStatus::kNotAFile, file.path};
    }
  }

  const mode_t mode = 0666 & ~CurrentUmask();
  std::vector<std::string> temporaries;
  auto discard = [&temporaries](std::size_t from) {
    for (std::size_t i = from; i < temporaries.size(); ++i) {
      unlink(temporaries[i].c_str());
    }
  };
  for (const OutputFile& file : files) {
    std::string name = WriteTemporary(file, mode);
    if (name.empty()) {
      discard(0);
      return {WriteStatus::kCannotWrite, file.path};
    }
    temporaries.push_back(std::move(name));
  }
  // Every file is complete; only renames in the same folders remain, which
  // fail only when something changed the destinations meanwhile.
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!RenameInto(temporaries[i], files[i].path, replace)) {
      const bool exists = errno == EEXIST;
      discard(i);
      return {exists ? WriteStatus::kExists : WriteStatus::kCannotWrite,
              files[i].path};
    }
  }
  return {};
}

}  // namespace polimreza
