#include "report/report.h"

#include <string>

namespace polimreza {
namespace {

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

}  // namespace

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
  out << "Vodoravno:\n";
  PrintClueList(out, grid, clues.across, ACROSS);
  out << "\nUspravno:\n";
  PrintClueList(out, grid, clues.down, DOWN);
}

void ReportFailure(std::ostream& out, const Grid& grid,
                   std::string_view pattern, CellIndex start, int direction) {
  out << "Nazalost, ukrstenica ne moze da se resi. Ovo je jos probna verzija "
         "programa.\n"
         "Pokusajte sa manjom ukrstenicom ili sacekajte novu verziju "
         "programa\n"
         "Prikazacu dokle sam uspeo da resim...\n\n";
  PrintGrid(out, grid);
  out << '\n';
  PrintMissingWord(out, grid, pattern, start, direction);
}

void PrintMissingWord(std::ostream& out, const Grid& grid,
                      std::string_view pattern, CellIndex start,
                      int direction) {
  std::size_t width = grid.gridWidth() == 0 ? 1 : grid.gridWidth();
  std::size_t column = start % width;
  std::size_t row = (start - column) / width;
  out << "Rec koju ne mogu da nadjem u bazi je: " << pattern << " na mestu ("
      << column + 1 << ',' << row + 1 << ") ";
  if (direction == ACROSS) out << "vodoravno\n";
  if (direction == DOWN) out << "uspravno\n";
}

}  // namespace polimreza
