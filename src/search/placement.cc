#include "search/placement.h"

namespace polimreza {

std::vector<PlacedSlot> PlaceResult(const SearchResult& result, Grid& grid) {
  std::vector<PlacedSlot> placed;
  // Whether a slot was open is read before any word is written: a word
  // fills the squares of the slots that cross it too.
  for (std::size_t s = 0; s < result.slots.size(); ++s) {
    if (!result.words[s]) continue;
    const Slot& slot = result.slots[s];
    const bool open = grid.ReadSlot(slot.start, slot.direction).find('*') !=
                      std::string::npos;
    placed.push_back({s, open});
  }
  for (const PlacedSlot& p : placed) {
    const Slot& slot = result.slots[p.slot];
    grid.WriteSlot(result.words[p.slot]->word, slot.start, slot.direction);
  }
  return placed;
}

}  // namespace polimreza
