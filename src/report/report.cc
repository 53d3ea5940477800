#include "report/report.h"

#include "tool/messages.h"

namespace polimreza {
namespace {

void PrintLine(std::ostream& out, std::string_view line) {
  out << line << '\n';
}

void PrintClueList(std::ostream& out, const Grid& grid, const ClueTable& table,
                   int direction) {
  std::size_t counter = 0;
  for (std::size_t row = 0; row < grid.gridHeight(); ++row) {
    for (std::size_t column = 0; column < grid.gridWidth(); ++column) {
      if (!grid.IsSlotStart(column, row, direction)) continue;
      out << counter << '.' << table.Get(grid.Index(column, row)) << '\n';
      ++counter;
    }
  }
}

// The line naming the slot at `start` in `direction` whose pattern string
// `pattern` no word of its list fits; for any other direction the line stays
// without its direction and line feed.
void PrintMissingWord(std::ostream& out, const Grid& grid,
                      std::string_view pattern, CellIndex start,
                      int direction) {
  std::size_t width = grid.gridWidth() == 0 ? 1 : grid.gridWidth();
  std::size_t column = start % width;
  std::size_t row = (start - column) / width;
  out << kMissingWordLabel << pattern << " na mestu (" << column + 1 << ','
      << row + 1 << ") ";
  if (direction == ACROSS) out << "vodoravno\n";
  if (direction == DOWN) out << "uspravno\n";
}

}  // namespace

void PrintDimensions(std::ostream& out, std::uint32_t width,
                     std::uint32_t height) {
  out << kWidthLabel << width << kHeightLabel << height << '\n';
}

void PrintGrid(std::ostream& out, const Grid& grid) {
  std::string line;
  for (std::size_t row = 0; row < grid.gridHeight(); ++row) {
    line.clear();
    for (std::size_t column = 0; column < grid.gridWidth(); ++column) {
      line.push_back(static_cast<char>(grid.Cell(grid.Index(column, row))));
    }
    line.push_back('\n');
    out << line;
  }
}

void PrintClues(std::ostream& out, const Grid& grid, const ClueTables& clues) {
  PrintLine(out, kAcrossHeading);
  PrintClueList(out, grid, clues.across, ACROSS);
  out << '\n';
  PrintLine(out, kDownHeading);
  PrintClueList(out, grid, clues.down, DOWN);
}

void PrintSolved(std::ostream& out, const Grid& grid, const ClueTables& clues) {
  PrintLine(out, kSolvedLine);
  PrintLine(out, kShowingLine);
  out << '\n';
  PrintGrid(out, grid);
  PrintClues(out, grid, clues);
}

void PrintFailure(std::ostream& out, const Grid& grid, std::string_view pattern,
                  CellIndex start, int direction) {
  PrintLine(out, kFailureLine);
  PrintLine(out, kFailureAdviceLine);
  PrintLine(out, kFailureShowingLine);
  out << '\n';
  PrintGrid(out, grid);
  out << '\n';
  PrintMissingWord(out, grid, pattern, start, direction);
}

void PrintNoFill(std::ostream& out, const Grid& grid,
                 const std::optional<Slot>& unfillable) {
  PrintLine(out, kNoFillLine);
  if (unfillable) {
    PrintMissingWord(out, grid,
                     grid.ReadSlot(unfillable->start, unfillable->direction),
                     unfillable->start, unfillable->direction);
  }
}

CellSpellings IdentitySpellings() {
  CellSpellings spellings;
  for (std::size_t b = 0; b < spellings.size(); ++b) {
    spellings[b] = std::string(1, static_cast<char>(b));
  }
  return spellings;
}

void PrintGrid(std::ostream& out, const Grid& grid,
               const CellSpellings& spellings) {
  std::string line;
  for (std::size_t row = 0; row < grid.gridHeight(); ++row) {
    line.clear();
    for (std::size_t column = 0; column < grid.gridWidth(); ++column) {
      line += spellings[static_cast<unsigned char>(
          grid.Cell(grid.Index(column, row)))];
    }
    line.push_back('\n');
    out << line;
  }
}

void PrintSolved(std::ostream& out, const Grid& grid, const ClueTables& clues,
                 const CellSpellings& spellings) {
  PrintLine(out, kSolvedLine);
  PrintLine(out, kShowingLine);
  out << '\n';
  PrintGrid(out, grid, spellings);
  PrintClues(out, grid, clues);
}

void PrintNoFill(std::ostream& out, const Grid& grid,
                 const std::optional<Slot>& unfillable,
                 const CellSpellings& spellings) {
  PrintLine(out, kNoFillLine);
  if (unfillable) {
    std::string pattern;
    for (char c : grid.ReadSlot(unfillable->start, unfillable->direction)) {
      pattern += spellings[static_cast<unsigned char>(c)];
    }
    PrintMissingWord(out, grid, pattern, unfillable->start,
                     unfillable->direction);
  }
}

void PrintTimedOut(std::ostream& out, const Grid& grid,
                   const CellSpellings& spellings) {
  PrintLine(out, kTimedOutLine);
  PrintLine(out, kTimedOutShowingLine);
  out << '\n';
  PrintGrid(out, grid, spellings);
}

void PrintTimedOut(std::ostream& out, const Grid& grid) {
  PrintLine(out, kTimedOutLine);
  PrintLine(out, kTimedOutShowingLine);
  out << '\n';
  PrintGrid(out, grid);
}

std::string IllegalCharacterRefusal() {
  return std::string(kIllegalCharacterLine) + '\n' +
         std::string(kShuttingDownLine) + '\n';
}

std::string NoMemoryRefusal() {
  return std::string(kOutOfMemory) + std::string(kShuttingDownLine) + '\n';
}

std::string CannotOpenRefusal(std::string_view name) {
  return std::string(kCannotOpenLabel) + std::string(name) + '\n' +
         std::string(kShuttingDownLine) + '\n';
}

std::string SquarePlace(CellIndex cell, std::size_t width) {
  return '(' + std::to_string(cell % width + 1) + ',' +
         std::to_string(cell / width + 1) + ')';
}

std::string LongSlotRefusal(const Grid& grid, const Slot& slot,
                            unsigned limit) {
  // The label, which the export's report reader looks for, ends in the
  // place's opening parenthesis.
  static_assert(kLongSlotLabel.ends_with('('));
  const std::string place = SquarePlace(slot.start, grid.gridWidth());
  return std::string(kLongSlotLabel) + place.substr(1) + ' ' +
         (slot.direction == ACROSS ? "vodoravno" : "uspravno") + " ima " +
         std::to_string(slot.length) + " polja, a najvise moze da ima " +
         std::to_string(limit) + '\n' + std::string(kShuttingDownLine) + '\n';
}

std::string ClueSquareRefusalLine(const Grid& grid,
                                  const ClueLayoutRefusal& refusal) {
  if (refusal.word) {
    return "Rec na mestu " +
           SquarePlace(refusal.word->start, grid.gridWidth()) +
           (refusal.word->direction == ACROSS ? " vodoravno" : " uspravno") +
           " nema polje za opis";
  }
  return "Polje " + SquarePlace(refusal.square, grid.gridWidth()) +
         " ne pripada nijednoj reci";
}

std::string ClueSquareRefusal(const Grid& grid,
                              const ClueLayoutRefusal& refusal) {
  return ClueSquareRefusalLine(grid, refusal) + '\n' +
         std::string(kShuttingDownLine) + '\n';
}

}  // namespace polimreza
