// Placing a search result in a grid: the one way polimreza-fill's report and
// the studio's fills write the words a search found.
#ifndef POLIMREZA_SEARCH_PLACEMENT_H_
#define POLIMREZA_SEARCH_PLACEMENT_H_

#include <cstddef>
#include <vector>

#include "grid/grid.h"
#include "search/search.h"

namespace polimreza {

// A slot of a search result whose word was written.
struct PlacedSlot {
  std::size_t slot;  // index into the result's slots and words
  bool was_open;     // whether the slot had an open square before
};

// Writes into `grid` the word of every slot of `result` that has one, and
// gives those slots in order.
std::vector<PlacedSlot> PlaceResult(const SearchResult& result, Grid& grid);

}  // namespace polimreza

#endif  // POLIMREZA_SEARCH_PLACEMENT_H_
