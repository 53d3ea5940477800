// The scores file `ocene.txt` that polimreza-lists writes beside the lists:
// `WORD;SCORE;KIND` lines, the score 0 to 100, the kind the word's source
// gave it. Reading it into a table of the words' letter codes.
#ifndef POLIMREZA_WORDLIST_SCORES_H_
#define POLIMREZA_WORDLIST_SCORES_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "alphabet/alphabet.h"

namespace polimreza {

inline constexpr char kScoresFileName[] = "ocene.txt";

// The kinds a scores file names, in the order reports show them.
enum class ScoredKind : std::uint8_t {
  kOrdinary,      // "obicna": an ordinary word of a dictionary
  kName,          // "ime"
  kAbbreviation,  // "skracenica"
  kNumeral,       // "rimski": a Roman numeral
  kClued,         // "opis": from a clued file or a folder of lists
  kScored,        // "ocena": from a scored list
  kUnknown,       // no kind, or one not named above
};
inline constexpr std::size_t kScoredKinds = 7;

// The name of `kind` in a scores file; empty for kUnknown.
std::string_view ScoredKindName(ScoredKind kind);

struct WordScore {
  int score = 0;
  ScoredKind kind = ScoredKind::kUnknown;
};

struct ScoreTable {
  // Each word as the codes of its letters (kFirstLetterCode + letter).
  std::unordered_map<std::string, WordScore> words;
  std::size_t lines = 0;    // lines that are not blank
  std::size_t skipped = 0;  // of them, left out (see ReadScoreTable)

  // Whether the file has lines but no word of the alphabet scored 0 to
  // 100: then the programs use no scores at all.
  bool Unusable() const { return words.empty() && lines > 0; }
};

// The score `text` writes: a whole number 0 to 100 in at most three
// decimal digits; none for anything else ("101", "-1", " 5").
std::optional<int> ReadScore(std::string_view text);

// Reads a scores file: a line ends at a line feed (a carriage return before
// it dropped); its word is the text before the first ';', its score the
// field after it (a whole number 0 to 100), its kind the third field. A line
// whose word is no word of `alphabet` or whose score is not 0 to 100 is left
// out and counted; a word given twice keeps its highest score.
ScoreTable ReadScoreTable(std::string_view text, const Alphabet& alphabet);

// The letter codes of the word of scores line `line` (without its line
// feed), as ReadScoreTable keys it; empty when it is no word of `alphabet`.
std::string ScoresLineWord(std::string_view line, const Alphabet& alphabet);

// A word scoring below this is weak unless --weak says otherwise.
inline constexpr int kDefaultWeakBelow = 30;

// The warning for what of ocene.txt, read in `alphabet` into `table`, is
// left out, as the programs word it (without the program's name); "" for
// none.
std::string ScoresWarning(const ScoreTable& table, const Alphabet& alphabet);

}  // namespace polimreza

#endif  // POLIMREZA_WORDLIST_SCORES_H_
