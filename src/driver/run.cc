#include "driver/run.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "driver/pattern_loader.h"
#include "grid/clue_table.h"
#include "grid/grid.h"
#include "report/report.h"
#include "solver/solver.h"

namespace polimreza {
namespace {

// Opens `path` for reading; null when it cannot be opened or read as a
// file. Only regular files qualify: a directory opens on some systems but
// fails at the first read, a pipe cannot be read a second time from its
// start, and a device such as /dev/zero never ends.
std::unique_ptr<std::istream> OpenForReading(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return nullptr;
  auto in = std::make_unique<std::ifstream>(path, std::ios::binary);
  if (!in->is_open() || in->fail()) return nullptr;
  in->peek();
  if (in->bad()) return nullptr;
  in->clear();
  return in;
}

const char* DirectionName(int direction) {
  return direction == ACROSS ? "vodoravno" : "uspravno";
}

// What a run holds once its pattern is loaded: the Grid, the clue tables
// and the word lists.
struct RunState {
  Grid grid;
  ClueTables clues;
  std::optional<WordLists> lists;

  // Closes the word lists and releases the Grid and the clue tables.
  void CloseAll() {
    lists.reset();
    clues = ClueTables();
    grid = Grid();
  }
};

}  // namespace

void RunPattern(std::istream& pattern, const ListOpener& opener,
                std::ostream& out) {
  RunState run;
  if (LoadPattern(pattern, out, run.grid) == LoadResult::kRefused) {
    run.CloseAll();
    return;
  }

  if (auto slot = FindLongSlot(run.grid)) {
    std::size_t column = slot->start % run.grid.gridWidth();
    std::size_t row = slot->start / run.grid.gridWidth();
    out << "Rec na mestu (" << column + 1 << ',' << row + 1 << ") "
        << DirectionName(slot->direction) << " ima " << slot->length
        << " polja, a najvise moze da ima 9\nProgram ce se ugasiti\n";
    run.CloseAll();
    return;
  }

  run.lists.emplace(opener);
  Solver solver(run.grid, run.clues, *run.lists);
  if (solver.FillLoop(out) == FillResult::kSolved) {
    out << "Ukrstenica je resena\nSad cu je prikazati...\n\n";
    PrintGrid(out, run.grid);
    PrintClues(out, run.grid, run.clues);
  }
  run.CloseAll();
}

void Run(int argc, const char* const* argv, std::ostream& out) {
  if (argc < 2) {
    out << "Koriscenje programa:\nPolimreza <input_file>\n\n"
           "input_file je izgled (pattern) vase buduce ukrstenice\n";
    return;
  }
  const std::string name = argv[1];
  std::unique_ptr<std::istream> pattern = OpenForReading(name);
  if (!pattern) {
    out << "Ne mogu da otvorim " << name << "\nProgram ce se ugasiti\n";
    return;
  }
  ListOpener opener = [](unsigned length) {
    return OpenForReading(std::to_string(length) + ".txt");
  };
  try {
    RunPattern(*pattern, opener, out);
  } catch (const std::bad_alloc&) {
    // A pattern too large for this machine's memory: there is nothing more
    // to show than what has been printed already.
  }
  out.flush();
}

}  // namespace polimreza
