#include "tool/output_files.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <optional>
#include <system_error>
#include <utility>

namespace polimreza {
namespace {

namespace fs = std::filesystem;

mode_t CurrentUmask() {
  mode_t mask = umask(0);
  umask(mask);
  return mask;
}

fs::path FolderOf(const fs::path& path) {
  fs::path folder = path.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

// Exclusive locks on the folders of a set of files, each taken once and in
// one order (by device and inode) so that two runs cannot deadlock; released
// when this is destroyed.
class FolderLocks {
 public:
  FolderLocks() = default;
  FolderLocks(const FolderLocks&) = delete;
  FolderLocks& operator=(const FolderLocks&) = delete;
  ~FolderLocks() {
    for (const Folder& folder : folders_) close(folder.fd);
  }

  // Waits for the lock on the folder of every file of `files`; gives
  // whether all are locked. A folder that cannot be opened (one without
  // read permission, or a missing one, where writing fails later anyway) or
  // locked (a file system without locks) is written unlocked, as before
  // there were locks.
  bool Lock(const std::vector<OutputFile>& files) {
    bool all = true;
    for (const OutputFile& file : files) {
      const int fd =
          open(FolderOf(file.path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      struct stat status;
      if (fd < 0 || fstat(fd, &status) != 0) {
        if (fd >= 0) close(fd);
        all = false;
        continue;
      }
      const auto same = [&status](const Folder& folder) {
        return folder.device == status.st_dev && folder.inode == status.st_ino;
      };
      if (std::any_of(folders_.begin(), folders_.end(), same)) {
        // A second lock on the same folder through another descriptor
        // would wait for the first forever.
        close(fd);
        continue;
      }
      folders_.push_back({status.st_dev, status.st_ino, fd});
    }
    std::sort(
        folders_.begin(), folders_.end(), [](const Folder& a, const Folder& b) {
          return std::pair(a.device, a.inode) < std::pair(b.device, b.inode);
        });
    for (const Folder& folder : folders_) {
      while (flock(folder.fd, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        all = false;
        break;
      }
    }
    return all;
  }

  // Makes the renames in every folder durable.
  void Sync() const {
    for (const Folder& folder : folders_) fsync(folder.fd);
  }

 private:
  struct Folder {
    dev_t device;
    ino_t inode;
    int fd;
  };
  std::vector<Folder> folders_;
};

// Removes what an earlier run, killed while it wrote, left beside the
// destinations of `files`: its temporary files and kept former contents.
// Only runs holding the folder locks make such files, so none is in use.
void RemoveLeftovers(const std::vector<OutputFile>& files) {
  std::map<fs::path, std::vector<std::string>> prefixes;  // by folder
  for (const OutputFile& file : files) {
    prefixes[FolderOf(file.path)].push_back(TemporaryPrefix(file.path));
  }
  for (const auto& [folder, names] : prefixes) {
    std::vector<fs::path> leftovers;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end;
         !error && entry != end; entry.increment(error)) {
      const std::string name = entry->path().filename().string();
      const auto left = [&name](const std::string& prefix) {
        return name.starts_with(prefix);
      };
      if (std::any_of(names.begin(), names.end(), left)) {
        leftovers.push_back(entry->path());
      }
    }
    for (const fs::path& leftover : leftovers) unlink(leftover.c_str());
  }
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
  std::string name =
      (FolderOf(file.path) / (TemporaryPrefix(file.path) + "XXXXXX")).string();
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

// How the former contents of a destination were kept.
enum class Former {
  kNone,    // there were none
  kLinked,  // a second link: the destination still holds them
  kMoved,   // moved aside: the destination is free
};

// Keeps the file at `path`, if any, under the name `former`; none when it
// cannot be kept, or when a folder has taken the file's place.
std::optional<Former> KeepFormer(const fs::path& path,
                                 const std::string& former) {
  struct stat status;
  if (lstat(path.c_str(), &status) != 0) {
    if (errno == ENOENT) return Former::kNone;
    return std::nullopt;
  }
  if (S_ISDIR(status.st_mode)) return std::nullopt;
  if (link(path.c_str(), former.c_str()) == 0) return Former::kLinked;
  if (errno == ENOENT) return Former::kNone;
  // A file system without hard links.
  if (rename(path.c_str(), former.c_str()) == 0) return Former::kMoved;
  if (errno == ENOENT) return Former::kNone;
  return std::nullopt;
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

// A destination already renamed into place, and where its former contents
// are (empty: it had none).
struct Placed {
  fs::path path;
  std::string former;
};

// Puts back the former contents of every destination of `placed`, last
// first, and records in `result` what cannot be put back.
WriteResult Undo(const std::vector<Placed>& placed, WriteResult result) {
  for (auto file = placed.rbegin(); file != placed.rend(); ++file) {
    const bool undone = file->former.empty() ? unlink(file->path.c_str()) == 0
                                             : rename(file->former.c_str(),
                                                      file->path.c_str()) == 0;
    if (!undone) result.unrestored.push_back({file->path, file->former});
  }
  std::reverse(result.unrestored.begin(), result.unrestored.end());
  return result;
}

}  // namespace

std::string TemporaryPrefix(const fs::path& path) {
  // Built by appending: GCC 12 at -O3 wrongly warns (-Wrestrict) about
  // "." + std::string.
  std::string prefix = ".";
  prefix += path.filename().string();
  prefix += ".polimreza-";
  return prefix;
}

WriteResult WriteAll(const std::vector<OutputFile>& files, bool replace,
                     const std::function<void(std::size_t)>& before_rename) {
  FolderLocks locks;
  // Without every lock, another run's temporary files may be in use.
  if (locks.Lock(files)) RemoveLeftovers(files);
  for (const OutputFile& file : files) {
    std::error_code error;
    fs::file_status status = fs::symlink_status(file.path, error);
    if (!fs::exists(status)) continue;
    if (!replace) return {WriteStatus::kExists, file.path, {}};
    if (!fs::is_regular_file(fs::status(file.path, error))) {
      return {WriteStatus::kNotAFile, file.path, {}};
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
      return {WriteStatus::kCannotWrite, file.path, {}};
    }
    temporaries.push_back(std::move(name));
  }
  // Every file is complete; only renames in the same folders remain. Each
  // destination's former contents are kept until all are in place, so that
  // a failed rename can be undone for the ones before it.
  std::vector<Placed> placed;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (before_rename) before_rename(i);
    const fs::path& path = files[i].path;
    const std::string former = temporaries[i] + "-old";
    std::optional<Former> kept = Former::kNone;
    if (replace) kept = KeepFormer(path, former);
    if (!kept) {
      discard(i);
      return Undo(placed, {WriteStatus::kCannotWrite, path, {}});
    }
    if (!RenameInto(temporaries[i], path, replace)) {
      WriteResult result{
          errno == EEXIST ? WriteStatus::kExists : WriteStatus::kCannotWrite,
          path,
          {}};
      discard(i);
      if (*kept == Former::kLinked) {
        unlink(former.c_str());
      } else if (*kept == Former::kMoved &&
                 rename(former.c_str(), path.c_str()) != 0) {
        result.unrestored.push_back({path, former});
      }
      result = Undo(placed, std::move(result));
      return result;
    }
    placed.push_back({path, *kept == Former::kNone ? "" : former});
  }
  locks.Sync();
  for (const Placed& file : placed) {
    if (!file.former.empty()) unlink(file.former.c_str());
  }
  return {};
}

}  // namespace polimreza
