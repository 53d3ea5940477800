#include "driver/run.h"

#include <memory>
#include <new>
#include <optional>
#include <string>

#include "grid/clue_table.h"
#include "grid/grid.h"
#include "grid/pattern_reader.h"
#include "report/report.h"
#include "solver/solver.h"
#include "tool/input_files.h"
#include "wordlist/word_list.h"

namespace polimreza {

void RunPattern(std::istream& pattern, const ListOpener& opener,
                std::ostream& out) {
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
  Grid& grid = loaded.grid;
  if (std::optional<Slot> slot = FindLongSlot(grid)) {
    out << LongSlotRefusal(grid, *slot);
    return;
  }

  ClueTables clues;
  WordLists lists(opener);
  Solver solver(grid, clues, lists);
  const FillResult result = solver.FillLoop();
  if (result.solved) {
    PrintSolved(out, grid, clues);
  } else if (result.stuck) {
    PrintFailure(out, grid, result.stuck->pattern, result.stuck->start,
                 result.stuck->direction);
  }
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
    out << CannotOpenRefusal(name);
    return;
  }
  ListOpener opener = [](unsigned length) {
    return OpenForReading(ListFileName(length));
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
