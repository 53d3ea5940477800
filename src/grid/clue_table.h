// The clue tables: for each Direction, the clue recorded for a slot, keyed by
// its slot start. Only recorded clues take memory.
#ifndef POLIMREZA_GRID_CLUE_TABLE_H_
#define POLIMREZA_GRID_CLUE_TABLE_H_

#include <string>
#include <string_view>
#include <unordered_map>

#include "grid/grid.h"

namespace polimreza {

class ClueTable {
 public:
  // Records `clue` at `start`, replacing whatever stood there.
  void Record(CellIndex start, std::string_view clue);
  // The clue recorded at `start`; empty when none ever was.
  std::string_view Get(CellIndex start) const;
  std::size_t RecordedCount() const { return clues_.size(); }

 private:
  std::unordered_map<CellIndex, std::string> clues_;
};

// AcrossClues and DownClues, indexed by Direction.
struct ClueTables {
  ClueTable across;
  ClueTable down;
  // The table of `direction`; DOWN's for any value other than ACROSS.
  ClueTable& For(int direction) { return direction == ACROSS ? across : down; }
  const ClueTable& For(int direction) const {
    return direction == ACROSS ? across : down;
  }
};

}  // namespace polimreza

#endif  // POLIMREZA_GRID_CLUE_TABLE_H_
