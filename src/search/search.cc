#include "search/search.h"

#include "search/queries.h"

// The search itself is the engine (engine.h) over one instance
// (instance.h); Search over lexicons built before is in queries.cc.

namespace polimreza {

SearchResult Search(const Grid& grid, WordLists& lists,
                    const SearchOptions& options) {
  SearchLexicons lexicons(lists);
  return Search(grid, lexicons, options);
}

}  // namespace polimreza
