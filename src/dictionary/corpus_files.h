// The files of a text corpus: folders read recursively in sorted order, each
// file read in pieces into a WordCounter, so that a corpus of any size is
// read in little memory; binary and empty files are told apart.
#ifndef POLIMREZA_DICTIONARY_CORPUS_FILES_H_
#define POLIMREZA_DICTIONARY_CORPUS_FILES_H_

#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "dictionary/corpus.h"
#include "tool/input_files.h"

namespace polimreza {

// A name of the command line that could not be expanded, and why.
struct CorpusNameError {
  std::string name;
  ReadError error;  // kMissing or kNotReadable
};

// The regular files `names` stand for, in order: a file as it is, a folder
// as every regular file under it (its subfolders too), sorted by path. Other
// things under a folder (devices, pipes) are passed over.
std::variant<std::vector<std::string>, CorpusNameError> ListCorpusFiles(
    const std::vector<std::string>& names);

enum class CorpusFileOutcome {
  kRead,
  kEmpty,        // no byte at all
  kBinary,       // a NUL byte among its first 64 KB: nothing of it is read
  kNotReadable,  // could not be opened or read
};

struct CorpusFileResult {
  CorpusFileOutcome outcome = CorpusFileOutcome::kRead;
  std::uint64_t bytes = 0;          // read from the file
  std::uint64_t invalid_bytes = 0;  // of them, skipped as not UTF-8
};

// Reads the file `path` into `counter` one piece at a time; `read` is told
// after every piece how many bytes of the file were read so far.
CorpusFileResult ReadCorpusFile(
    const std::string& path, WordCounter& counter,
    const std::function<void(std::uint64_t)>& read = {});

}  // namespace polimreza

#endif  // POLIMREZA_DICTIONARY_CORPUS_FILES_H_
