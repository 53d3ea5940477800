// Reading back the report of a solved crossword: the filled Grid and its two
// clue lists, or a precise refusal of anything else.
#ifndef POLIMREZA_EXPORT_REPORT_READER_H_
#define POLIMREZA_EXPORT_REPORT_READER_H_

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "grid/grid.h"

namespace polimreza {

// A solved crossword as its report shows it: every cell holds a letter (any
// byte but '#' and '*') or CELL_BLOCK; the clues of the slot starts of each
// direction in reading order, as raw bytes.
struct SolvedPuzzle {
  Grid grid;
  std::vector<std::string> across;
  std::vector<std::string> down;
};

// Why a text is not the report of a solved crossword: the line (from 1; 0
// for the text as a whole) and a Serbian explanation of one line.
struct ReportRefusal {
  std::size_t line = 0;
  std::string reason;
};

// Reads the whole report `text`. Line ends are LF, or CR LF when the first
// line ends so; trailing empty lines are allowed, any other extra line is
// refused, as is a grid without an open square.
std::variant<SolvedPuzzle, ReportRefusal> ReadReport(std::string_view text);

}  // namespace polimreza

#endif  // POLIMREZA_EXPORT_REPORT_READER_H_
