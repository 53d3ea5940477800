// What the program shows of a crossword: the Grid, the two numbered clue
// lists, and the failure report for a slot it could not fill.
#ifndef POLIMREZA_REPORT_REPORT_H_
#define POLIMREZA_REPORT_REPORT_H_

#include <ostream>
#include <string_view>

#include "grid/clue_table.h"
#include "grid/grid.h"

namespace polimreza {

// One text line per row, each cell as the byte of its low 8 bits.
void PrintGrid(std::ostream& out, const Grid& grid);

// The ACROSS list, then the DOWN list: every slot start in cell order,
// numbered from 0 in each list, with its recorded clue.
void PrintClues(std::ostream& out, const Grid& grid, const ClueTables& clues);

// The failure report for the slot at `start` in `direction`, whose pattern
// string `pattern` no word of its list would fill.
void ReportFailure(std::ostream& out, const Grid& grid,
                   std::string_view pattern, CellIndex start, int direction);

// The line naming the slot at `start` in `direction` whose pattern string
// `pattern` no word of its list fits.
void PrintMissingWord(std::ostream& out, const Grid& grid,
                      std::string_view pattern, CellIndex start, int direction);

}  // namespace polimreza

#endif  // POLIMREZA_REPORT_REPORT_H_
