// The nogoods the search learns at its restarts: each says that a set of
// decisions forbids one more literal, for good. The store keeps them with
// their literals in one array, watches one literal of each (as MiniSat
// watches clauses), and refutes a nogood's literal through the propagator
// once all its decisions hold.
#ifndef POLIMREZA_SEARCH_NOGOOD_STORE_H_
#define POLIMREZA_SEARCH_NOGOOD_STORE_H_

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "search/domain_store.h"
#include "search/literal.h"

namespace polimreza {

class Propagator;

// Nogoods kept, at most, and their literals (8 bytes each): with the
// watch lists, a long search's nogoods stay within about 20 MB. Past either
// bound the search records no more, which costs speed, never completeness.
// A 30-second search of a hard 13x13 records a few thousand.
inline constexpr std::size_t kMaxNogoods = std::size_t{1} << 17;
inline constexpr std::size_t kMaxNogoodLiterals = std::size_t{1} << 20;

class NogoodStore {
 public:
  explicit NogoodStore(const DomainStore& store) : store_(store) {}

  // Whether a nogood of `depth` decisions may still be recorded.
  bool Room(std::size_t depth) const {
    return nogoods_.size() < kMaxNogoods &&
           literals_.size() + depth <= kMaxNogoodLiterals;
  }
  // Records "the first `depth` of `decisions` forbid `consequence`", less
  // its literals that hold in the current state (the root); one with a
  // literal the state rules out is never needed, one with none left is
  // added to `refuted` instead, to be refuted at once.
  void Add(const std::vector<Decision>& decisions, std::size_t depth,
           const Literal& consequence, std::vector<Literal>& refuted);
  // `literal` has come to hold: the nogoods watching it move their watch to
  // a literal that does not hold yet, or, when all hold, refute their
  // consequence through `propagator`.
  void Wake(const Literal& literal, Propagator& propagator);
  // Cell `c` now holds `set`: when that is one letter, wakes that literal.
  void WakeCell(std::uint32_t c, const LetterSet& set, Propagator& propagator);

  // Whether the literal holds in the current state.
  bool Holds(const Literal& literal) const;
  // Whether the literal may still come to hold.
  bool Possible(const Literal& literal) const;

 private:
  // "If every literal of [first, first + size) holds, `consequence` cannot
  // hold." Watches one of its literals that does not hold.
  struct Nogood {
    std::uint32_t first;
    std::uint32_t size;
    Literal consequence;
  };

  const DomainStore& store_;       // where literals hold or not
  std::vector<Nogood> nogoods_;    // recorded at restarts; never forgotten
  std::vector<Literal> literals_;  // every nogood's literals, in one array
  // By Literal::Key: the nogoods watching that literal.
  std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> watches_;
};

}  // namespace polimreza

#endif  // POLIMREZA_SEARCH_NOGOOD_STORE_H_
