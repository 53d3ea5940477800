// Recording a nogood from a run's last branch, and waking the nogoods that
// watch a literal once it holds.

#include "search/nogood_store.h"

#include <cassert>

#include "search/propagator.h"

namespace polimreza {

void NogoodStore::Add(const std::vector<Decision>& decisions, std::size_t depth,
                      const Literal& consequence,
                      std::vector<Literal>& refuted) {
  assert(depth <= decisions.size() && Room(depth));
  const auto first = static_cast<std::uint32_t>(literals_.size());
  for (std::size_t k = 0; k < depth; ++k) {
    const Literal& literal = decisions[k].literal;
    if (!Possible(literal)) {
      literals_.erase(literals_.begin() + first, literals_.end());
      return;
    }
    if (Holds(literal)) continue;
    literals_.push_back(literal);
  }
  const auto size = static_cast<std::uint32_t>(literals_.size()) - first;
  if (size == 0) {
    refuted.push_back(consequence);
    return;
  }
  watches_[literals_[first].Key()].push_back(
      static_cast<std::uint32_t>(nogoods_.size()));
  nogoods_.push_back({first, size, consequence});
}

bool NogoodStore::Holds(const Literal& literal) const {
  if (literal.IsLetter()) {
    const LetterSet& set = store_.Letters(literal.Cell());
    return !set.Several() && set.Has(literal.Letter());
  }
  return store_.State(literal.Slot()).fixed &&
         store_.FirstWord(literal.Slot()) == literal.Word();
}

bool NogoodStore::Possible(const Literal& literal) const {
  if (literal.IsLetter()) {
    return store_.Letters(literal.Cell()).Has(literal.Letter());
  }
  return store_.Has(literal.Slot(), literal.Word());
}

void NogoodStore::WakeCell(std::uint32_t c, const LetterSet& set,
                           Propagator& propagator) {
  if (set.Several() || watches_.empty()) return;
  set.ForEach([&](unsigned char letter) {
    Wake(Literal::OfLetter(c, letter), propagator);
  });
}

// A nogood keeps watching a literal that held when it fired: the refutation
// and the literal's coming to hold are undone together, at the same level.
void NogoodStore::Wake(const Literal& literal, Propagator& propagator) {
  if (watches_.empty()) return;
  const auto it = watches_.find(literal.Key());
  if (it == watches_.end()) return;
  std::vector<std::uint32_t>& watching = it->second;
  for (std::size_t k = 0; k < watching.size();) {
    const std::uint32_t n = watching[k];
    const Nogood& nogood = nogoods_[n];
    const Literal* next = &literals_[nogood.first];
    const Literal* end = next + nogood.size;
    while (next != end && Holds(*next)) ++next;
    if (next == end) {
      propagator.Refute(nogood.consequence);
      ++k;
      continue;
    }
    watching[k] = watching.back();
    watching.pop_back();
    // Node-based: `watching` stays valid as the map grows.
    watches_[next->Key()].push_back(n);
  }
}

}  // namespace polimreza
