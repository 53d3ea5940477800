#include "grid/clue_table.h"

namespace polimreza {

void ClueTable::Record(CellIndex start, std::string_view clue) {
  clues_[start].assign(clue);
}

std::string_view ClueTable::Get(CellIndex start) const {
  auto it = clues_.find(start);
  return it == clues_.end() ? std::string_view() : std::string_view(it->second);
}

}  // namespace polimreza
