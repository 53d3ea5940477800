// The report the programs print about a crossword: every line of it (the
// dimension line, the banners, the grid, the clue lists, the refusals) and
// the functions that print a solved, failed or timed-out crossword.
#ifndef POLIMREZA_REPORT_REPORT_H_
#define POLIMREZA_REPORT_REPORT_H_

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "grid/clue_squares.h"
#include "grid/clue_table.h"
#include "grid/grid.h"

namespace polimreza {

// The fixed lines of the report, without their line feeds. The dimension
// line is kWidthLabel W kHeightLabel H.
inline constexpr std::string_view kWidthLabel = "MaxVodoravno:";
inline constexpr std::string_view kHeightLabel = ", MaxUspravno:";
inline constexpr std::string_view kSolvedLine = "Ukrstenica je resena";
inline constexpr std::string_view kShowingLine = "Sad cu je prikazati...";
inline constexpr std::string_view kAcrossHeading = "Vodoravno:";
inline constexpr std::string_view kDownHeading = "Uspravno:";
inline constexpr std::string_view kFailureLine =
    "Nazalost, ukrstenica ne moze da se resi. Ovo je jos probna verzija "
    "programa.";
inline constexpr std::string_view kFailureAdviceLine =
    "Pokusajte sa manjom ukrstenicom ili sacekajte novu verziju programa";
inline constexpr std::string_view kFailureShowingLine =
    "Prikazacu dokle sam uspeo da resim...";
inline constexpr std::string_view kTimedOutLine =
    "Vreme je isteklo pre nego sto je ukrstenica resena";
inline constexpr std::string_view kTimedOutShowingLine =
    "Prikazacu dokle sam stigao...";
inline constexpr std::string_view kNoFillLine =
    "Ukrstenica ne moze da se resi: nijedno popunjavanje ne postoji";
inline constexpr std::string_view kMissingWordLabel =
    "Rec koju ne mogu da nadjem u bazi je: ";
inline constexpr std::string_view kIllegalCharacterLine =
    "Ilegalan karakter u fajlu";
inline constexpr std::string_view kLongSlotLabel = "Rec na mestu (";
inline constexpr std::string_view kShuttingDownLine = "Program ce se ugasiti";
inline constexpr std::string_view kUsageLine = "Koriscenje programa:";
inline constexpr std::string_view kCannotOpenLabel = "Ne mogu da otvorim ";

// The dimension line: "MaxVodoravno:W, MaxUspravno:H".
void PrintDimensions(std::ostream& out, std::uint32_t width,
                     std::uint32_t height);

// One text line per row, each cell as the byte of its low 8 bits.
void PrintGrid(std::ostream& out, const Grid& grid);

// What each cell byte is printed as: the text at the byte's value.
using CellSpellings = std::array<std::string, 256>;

// Every byte printed as itself.
CellSpellings IdentitySpellings();

// One text line per row, each cell as `spellings` writes its low 8 bits.
void PrintGrid(std::ostream& out, const Grid& grid,
               const CellSpellings& spellings);

// The ACROSS list, then the DOWN list: every slot start in cell order,
// numbered from 0 in each list, with its recorded clue.
void PrintClues(std::ostream& out, const Grid& grid, const ClueTables& clues);

// The report of a solved crossword after its dimension line: the banner, the
// grid and the clue lists.
void PrintSolved(std::ostream& out, const Grid& grid, const ClueTables& clues);
void PrintSolved(std::ostream& out, const Grid& grid, const ClueTables& clues,
                 const CellSpellings& spellings);

// The greedy solver's failure report: the banner, the grid as far as it got,
// and the slot at `start` in `direction` whose pattern string `pattern` no
// word of its list would fill.
void PrintFailure(std::ostream& out, const Grid& grid, std::string_view pattern,
                  CellIndex start, int direction);

// The complete search's report that no fill exists, naming the slot it
// proved unfillable, when it found one, with its pattern in `grid`.
void PrintNoFill(std::ostream& out, const Grid& grid,
                 const std::optional<Slot>& unfillable);
void PrintNoFill(std::ostream& out, const Grid& grid,
                 const std::optional<Slot>& unfillable,
                 const CellSpellings& spellings);

// The report of a search stopped by its time limit, with the grid as far as
// it got.
void PrintTimedOut(std::ostream& out, const Grid& grid);
void PrintTimedOut(std::ostream& out, const Grid& grid,
                   const CellSpellings& spellings);

// The refusal of a pattern holding a character that is no cell, ending in
// the shutdown line.
std::string IllegalCharacterRefusal();

// The refusal of a pattern too large for the memory there is, ending in the
// shutdown line.
std::string NoMemoryRefusal();

// The message for a pattern file `name` that cannot be opened, ending in the
// shutdown line.
std::string CannotOpenRefusal(std::string_view name);

// "(C,R)": the square `cell` of a grid `width` squares wide, column and row
// counted from 1, as every message names a square.
std::string SquarePlace(CellIndex cell, std::size_t width);

// The refusal of `slot`, longer than `limit`, ending in the shutdown line.
std::string LongSlotRefusal(const Grid& grid, const Slot& slot,
                            unsigned limit = kMaxSlotLength);

// Why a skandinavka has no clue layout, on one line without a line feed:
// the word left without a clue square, or the open square in no word.
std::string ClueSquareRefusalLine(const Grid& grid,
                                  const ClueLayoutRefusal& refusal);

// ClueSquareRefusalLine ending in the shutdown line.
std::string ClueSquareRefusal(const Grid& grid,
                              const ClueLayoutRefusal& refusal);

}  // namespace polimreza

#endif  // POLIMREZA_REPORT_REPORT_H_
