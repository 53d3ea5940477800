// Reading input files by one set of rules: which kinds of file a run takes
// (regular files, and pipes when asked), "-" for a standard input stream the
// caller passes in, and what went wrong when an input cannot be read.
#ifndef POLIMREZA_TOOL_INPUT_FILES_H_
#define POLIMREZA_TOOL_INPUT_FILES_H_

#include <istream>
#include <memory>
#include <string>
#include <variant>

namespace polimreza {

enum class ReadError {
  kMissing,      // nothing of that name
  kFolder,       // a folder
  kNotReadable,  // a device, a pipe where none is taken, or a failed read
  kOutOfMemory,  // the text does not fit in memory
};

// Which inputs a run takes: regular files always; pipes and FIFOs only with
// `pipes`; the name "-" means `standard_input` when that is set.
struct InputRules {
  bool pipes = false;
  std::istream* standard_input = nullptr;
};

// The whole text of `name` read by `rules`, or why it cannot be had. A read
// cut short by memory running out is kOutOfMemory, never a shorter text.
std::variant<std::string, ReadError> ReadInput(const std::string& name,
                                               const InputRules& rules);

// Opens the regular file `path` to be read lazily as a stream (so a caller
// may read it more than once from its start), or gives why it cannot.
std::variant<std::unique_ptr<std::istream>, ReadError> OpenRegularFile(
    const std::string& path);

// OpenRegularFile's stream, or null when the file cannot be opened.
std::unique_ptr<std::istream> OpenForReading(const std::string& path);

}  // namespace polimreza

#endif  // POLIMREZA_TOOL_INPUT_FILES_H_
