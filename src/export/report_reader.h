// Reading back the report of a solved crossword: the filled Grid and its two
// clue lists, or a precise refusal of anything else.
#ifndef POLIMREZA_EXPORT_REPORT_READER_H_
#define POLIMREZA_EXPORT_REPORT_READER_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "alphabet/alphabet.h"
#include "grid/grid.h"

namespace polimreza {

// In a Serbian grid an open cell holds kLetterCell plus its letter.
inline constexpr std::int32_t kLetterCell = 0x100;

// A solved crossword as its report shows it: every cell holds a letter or
// CELL_BLOCK (in ascii the report's byte, any but '#' and '*'); the clues of
// the slot starts of each direction in reading order, as raw bytes.
struct SolvedPuzzle {
  Grid grid;
  std::vector<std::string> across;
  std::vector<std::string> down;
  AlphabetKind alphabet = AlphabetKind::kAscii;
  Script script = Script::kLatin;  // the script the grid is written in
};

// Why a text is not the report of a solved crossword: the line (from 1; 0
// for the text as a whole) and a Serbian explanation of one line.
struct ReportRefusal {
  std::size_t line = 0;
  std::string reason;
};

// Reads the whole report `text`. Line ends are LF, or CR LF when the first
// line ends so; trailing empty lines are allowed, any other extra line is
// refused, as is a grid without an open square. The grid's alphabet is
// `alphabet` or, with none, the one its squares show: sr-cyrl when one is a
// Cyrillic letter, sr-latn when one is a Serbian Latin letter outside A-Z,
// else ascii. An ascii row is one square a byte; a Serbian row one square a
// UTF-8 character, each a letter of the alphabet, all in one script.
std::variant<SolvedPuzzle, ReportRefusal> ReadReport(
    std::string_view text, std::optional<AlphabetKind> alphabet = std::nullopt);

}  // namespace polimreza

#endif  // POLIMREZA_EXPORT_REPORT_READER_H_
