// Numbering a solved crossword as printed puzzles do, and the text every
// writer shows: cell letters and clues made valid UTF-8.
#ifndef POLIMREZA_EXPORT_NUMBERING_H_
#define POLIMREZA_EXPORT_NUMBERING_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "alphabet/alphabet.h"
#include "export/report_reader.h"
#include "grid/grid.h"

namespace polimreza {

// One slot of the puzzle: the number of its first square, its squares in
// order and its clue as display text.
struct NumberedSlot {
  unsigned number = 0;
  std::vector<CellIndex> cells;
  std::string clue;
};

// What every writer needs: the grid, each square's number (0 for none),
// each open square's letter as display text, and the slots of both
// directions in reading order; for a Serbian puzzle its alphabet too.
struct NumberedPuzzle {
  AlphabetKind alphabet_kind = AlphabetKind::kAscii;
  Script script = Script::kLatin;
  // A Serbian alphabet's letters in order as the squares show them; empty
  // in ascii, whose squares are the report's own bytes.
  std::vector<std::string> alphabet;
  // The language tag of the puzzle's words ("sr-Latn", "sr-Cyrl"); empty in
  // ascii.
  std::string language;
  std::string title;
  // Who made the puzzle and its copyright line, as the author wrote them;
  // empty when not given.
  std::string author;  // display text
  std::string copyright;
  // For each square, whether its letter is one the author placed rather
  // than the machine; empty (or of another size) when that is not known.
  std::vector<bool> author_squares;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<bool> block;
  std::vector<unsigned> numbers;
  std::vector<std::string> letters;
  std::vector<NumberedSlot> across;
  std::vector<NumberedSlot> down;
};

// Numbers the squares that start a slot from 1 in reading order (one number
// per square, shared by its across and down slots) and pairs each slot with
// its clue, both directions in reading order. With `script`, a Serbian
// puzzle's squares, clues and title are written in that script.
NumberedPuzzle NumberPuzzle(const SolvedPuzzle& puzzle, std::string_view title,
                            std::optional<Script> script = std::nullopt);

// `bytes` as valid UTF-8 that is safe to show: an ill-formed sequence and a
// control character other than a tab become U+FFFD.
std::string DisplayText(std::string_view bytes);

// `text` with &, < and > as character references, and with `quotes` " and
// ' too: safe as HTML or XML text and, with `quotes`, in a quoted attribute.
std::string EscapeMarkup(std::string_view text, bool quotes = true);

// Whether the clue `clue` gives the solver nothing to read: empty, or only
// spaces and tabs.
bool IsEmptyClue(std::string_view clue);

// How many slots of both directions have an empty clue.
std::size_t EmptyClueCount(const NumberedPuzzle& puzzle);

}  // namespace polimreza

#endif  // POLIMREZA_EXPORT_NUMBERING_H_
