#include "search/queries.h"

#include <bit>
#include <utility>

#include "search/engine.h"
#include "search/instance.h"

namespace polimreza {

SearchLexicons::SearchLexicons(WordLists& lists) : lists_(lists) {}

SearchLexicons::SearchLexicons(WordLists& lists, SearchLexicons& shared,
                               unsigned from_length)
    : lists_(lists), shared_(&shared), from_length_(from_length) {}

SearchLexicons::~SearchLexicons() = default;

const Lexicon* SearchLexicons::ForLength(unsigned length) {
  if (length == 0 || length > kMaxEntryLength) return nullptr;
  if (shared_ != nullptr && length >= from_length_) {
    return shared_->ForLength(length);
  }
  if (!lexicons_[length]) {
    const WordList* list = lists_.List(length);
    if (list == nullptr) return nullptr;
    lexicons_[length] = std::make_unique<Lexicon>(
        *list, excluded_.empty() ? nullptr : &excluded_);
  }
  return lexicons_[length].get();
}

void SearchLexicons::SetExcluded(std::unordered_set<std::string> words) {
  // A lexicon can change only when a word of its length enters or leaves
  // the set; the others stay as they are.
  for (const auto* set : {&excluded_, &words}) {
    for (const std::string& word : *set) {
      if (word.size() < lexicons_.size()) lexicons_[word.size()].reset();
    }
  }
  excluded_ = std::move(words);
}

}  // namespace polimreza

// ---------------------------------------------------------------------------
// Search and the queries between fills.

namespace polimreza {

namespace {

// Words a query always tests before asking whether its time is up, so that
// a small domain always gets an exact answer.
constexpr std::uint64_t kFitAlwaysTested = 64;

// The words of `words` (a root domain from its chunk 0) from the bits `w`
// of chunk `i` on.
std::size_t WordsFrom(const std::vector<std::uint64_t>& words, std::size_t i,
                      std::uint64_t w) {
  std::size_t count = static_cast<std::size_t>(Ones(w));
  for (std::size_t j = i + 1; j < words.size(); ++j) count += Ones(words[j]);
  return count;
}

// Whether word `id` of problem slot `s` fits: assigned at a level of its
// own, propagated as a decision of the search would be, and undone. May
// throw StopRequested, with the state undone.
bool Fits(Instance& instance, std::uint32_t s, std::uint32_t id) {
  DomainStore& store = instance.store;
  Propagator& propagator = instance.propagator;
  const StoreMark root = store.Here();
  const std::uint64_t root_level = store.Level();
  store.OpenLevel();
  store.Assign(s, id);
  propagator.Enqueue(s);
  bool ok = false;
  try {
    ok = propagator.Propagate();
  } catch (const StopRequested&) {
    propagator.ClearQueue();
    store.Undo(root);
    store.ReturnTo(root_level);
    throw;
  }
  store.Undo(root);
  store.ReturnTo(root_level);
  return ok;
}

// Tests the words of problem slot `s` in list order into `fit` (see
// FitSlot); the words left untested when time is up or the caller stops
// count as the root leaves them, and `fit.exact` is false.
void TestWords(Instance& instance, std::uint32_t s, std::size_t limit,
               const std::function<bool()>& time_up, FittingWords& fit) {
  const SlotState& state = instance.store.State(s);
  const std::uint32_t lo = state.lo;
  const std::uint64_t* d = instance.store.Words(s);
  const std::vector<std::uint64_t> root_words(d + state.lo, d + state.hi);
  std::uint64_t tested = 0;
  for (std::size_t i = 0; i < root_words.size(); ++i) {
    for (std::uint64_t w = root_words[i]; w != 0; w &= w - 1) {
      const bool enough =
          fit.words.size() >= limit && tested >= kFitAlwaysTested;
      bool fits = false;
      try {
        // The stop is asked before every word: on a long slot whose words
        // mostly fail, one test may take milliseconds.
        if ((enough && time_up && time_up()) || instance.StopAsked()) {
          throw StopRequested();
        }
        ++tested;
        const auto id = static_cast<std::uint32_t>(
            (lo + i) * 64 + static_cast<std::uint32_t>(std::countr_zero(w)));
        fits = Fits(instance, s, id);
        if (fits && fit.words.size() < limit) {
          fit.words.push_back(instance.WordOf(s, id));
        }
      } catch (const StopRequested&) {
        fit.exact = false;
        fit.count += WordsFrom(root_words, i, w);
        return;
      }
      if (fits) ++fit.count;
    }
  }
}

}  // namespace

SearchResult Search(const Grid& grid, SearchLexicons& lexicons,
                    const SearchOptions& options) {
  Engine engine(options, lexicons);
  return engine.Run(grid);
}

// Testing a word: with the root state arc consistent, the word is assigned
// at a level of its own, propagated as a decision of the search would be,
// and undone. On a mostly empty grid with large lists a slot keeps thousands
// of words and each test costs microseconds, so once `limit` fitting words
// are found (and at least kFitAlwaysTested words tested) the rest are tested
// only until the caller's `time_up` or stop says so; the words left untested
// are then counted as arc consistency leaves them at the root, an upper
// bound, and `exact` is false.
FittingWords FitSlot(const Grid& grid, SearchLexicons& lexicons,
                     std::size_t slot, std::size_t limit,
                     const SearchOptions& options,
                     const std::function<bool()>& time_up) {
  FittingWords fit;
  Instance instance(options, lexicons);
  instance.slots = FindSlots(grid);
  if (slot >= instance.slots.size()) return fit;
  try {
    if (!instance.Setup(grid, slot)) return fit;
    instance.propagator.EnqueueAll();
    if (!instance.propagator.Propagate()) return fit;
  } catch (const StopRequested&) {
    instance.propagator.ClearQueue();
    fit.exact = false;
    return fit;
  }
  TestWords(instance, instance.inner[slot], limit, time_up, fit);
  return fit;
}

// The slots left with no word by the initial state; when there is none, the
// slot the root propagation empties, if it fails.
std::vector<std::size_t> DeadSlots(const Grid& grid, SearchLexicons& lexicons,
                                   const SearchOptions& options) {
  std::vector<std::size_t> dead;
  Instance instance(options, lexicons);
  instance.slots = FindSlots(grid);
  for (std::size_t k = 0; k < instance.slots.size(); ++k) {
    const Slot& slot = instance.slots[k];
    if (slot.length > kMaxEntryLength &&
        (!options.active || options.active(slot))) {
      dead.push_back(k);
    }
  }
  if (!dead.empty()) return dead;
  Propagator& propagator = instance.propagator;
  try {
    if (!instance.Setup(grid, kNone)) {
      for (std::uint32_t s = 0; s < instance.problem.SlotCount(); ++s) {
        if (instance.store.FirstWord(s) == kNone) {
          dead.push_back(instance.outer[s]);
        }
      }
      return dead;
    }
    propagator.EnqueueAll();
    if (!propagator.Propagate() && propagator.Wiped() != kNone) {
      dead.push_back(instance.outer[propagator.Wiped()]);
    }
  } catch (const StopRequested&) {
    propagator.ClearQueue();
  }
  return dead;
}

}  // namespace polimreza
