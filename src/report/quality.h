// The quality report of a filled crossword: its squares, black squares and
// words, the average word length (PDR) with its difficulty band, and, from
// the scores file, the words' scores, weak words and crossings, and kinds.
#ifndef POLIMREZA_REPORT_QUALITY_H_
#define POLIMREZA_REPORT_QUALITY_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "grid/grid.h"
#include "wordlist/scores.h"

namespace polimreza {

struct QualityFigures {
  std::size_t squares = 0;
  std::size_t black = 0;
  std::size_t words = 0;    // slots of two or more squares
  std::size_t letters = 0;  // their squares, counted once per slot
  bool scored = false;      // scores were given
  int weak_below = 0;       // a word scoring below this is weak
  int lowest = 0;           // of the words' scores (0 when none)
  std::uint64_t score_sum = 0;
  std::size_t weak_words = 0;
  // Squares where two weak words cross.
  std::size_t weak_crossings = 0;
  // Words the scores do not hold; they score 0.
  std::size_t unscored = 0;
  std::array<std::size_t, kScoredKinds> kinds{};  // of the words
  // The words whose every square holds a letter: the figures of scores,
  // weak words and kinds are of these.
  std::size_t placed = 0;
  std::vector<std::size_t> weak_slots;      // indexes into FindSlots(grid)
  std::vector<CellIndex> crossing_squares;  // where two weak words cross
};

// The figures of `grid`, whose open squares hold letter codes
// (kFirstLetterCode + letter, or A-Z): each slot of two or more squares is
// a word, looked up in `scores` (null: no scores) by its codes; a slot with
// an empty square counts among the words but not among the placed ones.
QualityFigures MeasureQuality(const Grid& grid, const ScoreTable* scores,
                              int weak_below);

// `numerator` / `denominator` in hundredths, rounded half up, as every
// figure of the report is; 0 when `denominator` is 0.
std::uint64_t RoundedHundredths(std::uint64_t numerator,
                                std::uint64_t denominator);

// The PDR (letters over words) in hundredths, rounded half up; 0 without
// words.
int PdrHundredths(const QualityFigures& figures);

// The difficulty band of a PDR in hundredths: below 4.10 "vrlo laka", from
// 4.10 "laka", from 4.40 "umereno teska", from 4.70 "srednje teska", from
// 5.00 up to 5.30 inclusive "teska", above 5.30 "vrlo teska".
std::string_view DifficultyBand(int pdr_hundredths);

// The report: one `name: value` line each, ending in a line feed.
std::string FormatQuality(const QualityFigures& figures);

}  // namespace polimreza

#endif  // POLIMREZA_REPORT_QUALITY_H_
