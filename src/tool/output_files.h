// Writing the files a program produces all together or not at all: each is
// written to a temporary file beside its destination and renamed into place
// only once every one of them is complete.
#ifndef POLIMREZA_TOOL_OUTPUT_FILES_H_
#define POLIMREZA_TOOL_OUTPUT_FILES_H_

#include <filesystem>
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

struct WriteResult {
  WriteStatus status = WriteStatus::kWritten;
  std::filesystem::path path;  // the file the failure concerns
};

// Writes every file of `files`, replacing existing ones only when `replace`
// is set. A failure leaves no temporary file behind and, unless a
// destination changed while the files were written, no destination changed.
// New files get the usual permissions (0666 less the umask).
WriteResult WriteAll(const std::vector<OutputFile>& files, bool replace);

}  // namespace polimreza

#endif  // POLIMREZA_TOOL_OUTPUT_FILES_H_
