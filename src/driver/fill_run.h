// The run of polimreza-fill from its command line to its exit status:
// options, loading the pattern and the lists, the complete search, and what
// it prints for each outcome.
#ifndef POLIMREZA_DRIVER_FILL_RUN_H_
#define POLIMREZA_DRIVER_FILL_RUN_H_

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "alphabet/alphabet.h"
#include "wordlist/word_list.h"

namespace polimreza {

// Exit statuses of polimreza-fill besides kExitOk and kExitUsage (which also
// covers input errors).
inline constexpr int kExitNoFill = 1;
inline constexpr int kExitTimeLimit = 3;

struct FillSettings {
  double time_limit = 60;  // seconds
  std::uint64_t seed = 0;
  bool allow_repeats = false;
  bool progress = false;  // draw a progress line on the error stream
  // The alphabet of the pattern and the lists' words.
  AlphabetKind alphabet = AlphabetKind::kAscii;
  // The script of the report; none: the alphabet's own, clues as written.
  std::optional<Script> script;
  // The text of the exclusion file (one word a line, in the alphabet): its
  // words are left out of the fill. Empty: nothing is left out.
  std::string exclude;
  // Writes the quality report on the error stream after a fill.
  bool stats = false;
  // The text of the scores file, when there is one; the report reads it.
  std::optional<std::string> scores;
  // A word scoring below this is weak (none: 30 when there are scores).
  std::optional<int> weak;
  // The pattern is a skandinavka: its blocks are clue squares, every word
  // needs one, and single squares are no words.
  bool skandinavka = false;
};

// One run on the pattern already opened as `pattern`, with the word lists
// given by `lists`: prints the report to `out`, the short error line and the
// progress to `err`, and gives the exit status.
int FillPattern(std::istream& pattern, const ListOpener& lists,
                const FillSettings& settings, std::ostream& out,
                std::ostream& err);

// The program: parses `argv`, opens the files, and gives the exit status.
int RunFill(int argc, const char* const* argv, std::ostream& out,
            std::ostream& err);

}  // namespace polimreza

#endif  // POLIMREZA_DRIVER_FILL_RUN_H_
