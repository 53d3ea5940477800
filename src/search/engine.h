// The complete search's driver: runs that dive and backtrack, the restarts
// between them and what carries over (refutations, nogoods, weights), runs
// by letters for hard grids and the walk back from their fill to the
// preferred words, and the result handed back. Decides; the propagator,
// the slot order and the nogood store (instance.h) do the rest.
#ifndef POLIMREZA_SEARCH_ENGINE_H_
#define POLIMREZA_SEARCH_ENGINE_H_

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "grid/grid.h"
#include "search/instance.h"
#include "search/literal.h"
#include "search/queries.h"
#include "search/search.h"

namespace polimreza {

class Engine {
 public:
  Engine(const SearchOptions& options, SearchLexicons& lexicons)
      : instance_(options, lexicons) {}
  // The search of Search(grid, lexicons, options); once per engine.
  SearchResult Run(const Grid& grid);

 private:
  // What a run decides: words of slots, or letters of single cells.
  enum class Branching { kWords, kLetters };
  // How a run ended.
  enum class RunEnd { kFilled, kNoFill, kStopped, kRestart };
  // How trying the words of one slot on the way back ended.
  enum class Walk { kTaken, kOutOfBudget, kStopped };

  SearchOutcome Solve();
  void StartRun(Branching branching, bool coarse);
  SearchOutcome SolveByLetters(std::uint64_t unit);
  RunEnd FindFill(std::uint64_t unit, std::uint64_t limit);
  bool Prefer(std::uint64_t unit, std::uint64_t budget);
  Walk PreferSlot(std::uint32_t s, std::uint64_t unit, std::uint64_t end,
                  std::vector<Decision>& taken);
  void TakeWitness();
  bool KeepRefutations();
  void RecordNogoods();
  RunEnd Dive(std::uint64_t budget);
  Decision Decide(std::uint32_t s);
  bool DecideLetter(std::uint32_t c);
  bool Backtrack();
  bool Halted() const;
  void UndoTo(const Decision& decision);
  void UndoTo(const StoreMark& mark);
  void NoteBest();
  void CollectFill();
  void CollectBest();

  // The words and letters a run removed below its first level, on the
  // current branch, each with the number of decisions above it.
  struct Negative {
    std::size_t depth;
    Literal literal;
  };

  Instance instance_;  // the problem, the state and the mechanisms over it
  // Shorthands for the parts of instance_.
  const Problem& problem_ = instance_.problem;
  DomainStore& store_ = instance_.store;
  SlotOrder& order_ = instance_.order;
  Propagator& propagator_ = instance_.propagator;
  std::uint64_t& nodes_ = instance_.nodes;  // decisions taken so far
  SearchResult result_;  // what Run gives back, filled in as it goes
  Branching branching_ = Branching::kWords;  // the current run's
  std::vector<Decision> decisions_;  // the current run's, outermost first
  // Words and letters the current run proved to be in no fill at its
  // first level.
  std::vector<Literal> refuted_;
  std::vector<Negative> negatives_;  // see Negative
  // By slot: its word in the last fill FindFill found.
  std::vector<std::uint32_t> witness_;
  // The most-filled state reached: (slot, word) of its fixed slots, in the
  // order of store_.Fixed() then.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> best_;
  std::size_t best_shared_ = 0;  // leading entries of best_ still fixed
};

}  // namespace polimreza

#endif  // POLIMREZA_SEARCH_ENGINE_H_
