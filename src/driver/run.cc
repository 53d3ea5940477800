#include "driver/run.h"

#include <memory>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include "driver/input_files.h"
#include "driver/pattern_loader.h"
#include "grid/clue_table.h"
#include "grid/grid.h"
#include "report/report.h"
#include "solver/solver.h"

namespace polimreza {
namespace {

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
  LoadedPattern loaded = LoadPattern(pattern);
  PrintDimensions(out, loaded.width, loaded.height);
  if (loaded.refusal) {
    // A grid too large for this machine's memory: there is nothing more to
    // show than the dimension line.
    if (loaded.refusal->kind == PatternRefusalKind::kIllegalCharacter) {
      out << IllegalCharacterRefusal();
    }
    return;
  }
  run.grid = std::move(loaded.grid);

  if (std::optional<Slot> slot = FindLongSlot(run.grid)) {
    out << LongSlotRefusal(run.grid, *slot);
    run.CloseAll();
    return;
  }

  run.lists.emplace(opener);
  Solver solver(run.grid, run.clues, *run.lists);
  const FillResult result = solver.FillLoop();
  if (result.solved) {
    PrintSolved(out, run.grid, run.clues);
  } else if (result.stuck) {
    PrintFailure(out, run.grid, result.stuck->pattern, result.stuck->start,
                 result.stuck->direction);
  }
  run.CloseAll();
}

void Run(int argc, const char* const* argv, std::ostream& out) {
  if (argc < 2) {
    out << kUsageLine
        << "\nPolimreza <input_file>\n\n"
           "input_file je izgled (pattern) vase buduce ukrstenice\n";
    return;
  }
  const std::string name = argv[1];
  std::unique_ptr<std::istream> pattern = OpenForReading(name);
  if (!pattern) {
    out << kCannotOpenLabel << name << '\n' << kShuttingDownLine << '\n';
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
