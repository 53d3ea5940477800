// Reading the corpus of polimreza-lists: its files and folders counted into
// a WordCounter, the progress on a terminal, warnings for what is skipped,
// and the corpus lines of the summary.
#ifndef POLIMREZA_DRIVER_LISTS_CORPUS_H_
#define POLIMREZA_DRIVER_LISTS_CORPUS_H_

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "dictionary/corpus.h"

namespace polimreza {

// Counts the words of the corpus files and folders `names` into `counter`;
// appends the corpus lines of the summary to `summary` and warns on `err`
// of files skipped in part or whole. Gives the reason the run ends (lines
// ending in a line feed), none when the corpus was read.
std::optional<std::string> CountCorpus(const std::vector<std::string>& names,
                                       WordCounter& counter,
                                       std::string& summary, std::ostream& err);

}  // namespace polimreza

#endif  // POLIMREZA_DRIVER_LISTS_CORPUS_H_
