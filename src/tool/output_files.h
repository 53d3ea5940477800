// Writing the files a program produces all together or not at all: each is
// written to a temporary file beside its destination, and the renames into
// place are undone when one of them fails. Runs into the same folders take
// turns.
#ifndef POLIMREZA_TOOL_OUTPUT_FILES_H_
#define POLIMREZA_TOOL_OUTPUT_FILES_H_

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace polimreza {

// One file to write: where it goes and its whole contents.
struct OutputFile {
  std::filesystem::path path;
  std::string contents;
};

enum class WriteStatus {
  kWritten,
  kExists,       // a destination exists and replacing was not allowed
  kNotAFile,     // a destination exists as a folder or other non-file
  kCannotWrite,  // a temporary file could not be made, written or renamed
};

// A destination that a failed write changed and could not change back.
struct Unrestored {
  std::filesystem::path path;
  // Where the destination's former contents are kept; empty when it had
  // none, so the new file stands where there was nothing.
  std::filesystem::path former;
};

struct WriteResult {
  WriteStatus status = WriteStatus::kWritten;
  std::filesystem::path path;  // the file the failure concerns
  // After a failure, what could not be undone; empty when nothing changed.
  std::vector<Unrestored> unrestored;
};

// Writes every file of `files`, replacing existing ones only when `replace`
// is set. On a failure every destination is as it was, apart from the ones
// listed in the result. Holds a lock on each destination folder meanwhile,
// so a second run into the same folder waits; removes the temporary files a
// killed run left for the same destinations. New files get the usual
// permissions (0666 less the umask). `before_rename`, when set, is called
// with the index of each file just before it is renamed into place (tests
// use it to change a destination meanwhile).
WriteResult WriteAll(
    const std::vector<OutputFile>& files, bool replace,
    const std::function<void(std::size_t)>& before_rename = {});

// The prefix of the names of the temporary files made for `path`, beside it.
std::string TemporaryPrefix(const std::filesystem::path& path);

}  // namespace polimreza

#endif  // POLIMREZA_TOOL_OUTPUT_FILES_H_
