#include "search/search.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <chrono>
#include <unordered_map>

#include "search/domain_store.h"
#include "search/lexicon.h"
#include "search/problem.h"
#include "search/queries.h"

// How the search works. Every slot is a variable whose values are the
// distinct words of its list, numbered in the order of their first entries
// (a later entry of the same word adds nothing). The fixed problem (problem.h)
// holds the slots, cells and lexicons; the domain store (domain_store.h)
// holds what changes: a bitset of candidate words per slot, a set of letters
// per cell, and the trail that undoes both. This file decides and
// propagates; beside each pruning rule stands why it loses no fill.

namespace polimreza {

namespace {

// Decisions between two questions to the caller's stop: asking costs a
// clock reading, a decision far less.
constexpr std::uint64_t kCheckEvery = 256;

// Slot revisions between two questions to the caller's stop during one
// propagation: only a huge grid takes that many at once.
constexpr std::uint64_t kRevisionsPerCheck = std::uint64_t{1} << 16;

// Units of setup work (slots set up, words indexed) between two questions
// to the caller's stop: a small grid with small lists asks none.
constexpr std::uint64_t kSetupWorkPerCheck = std::uint64_t{1} << 16;

// A domain with at most one word per this many chunks of its span has its
// letters read word by word: a handful of words costs less to read than one
// scan of the span per letter, which is what finding supports costs.
constexpr std::uint32_t kChunksPerWordToRead = 4;

std::uint64_t SplitMix(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// Either "slot holds word" or, when cell is not kNone, "cell holds letter".
struct Decision {
  std::uint32_t slot;
  std::uint32_t word;
  std::uint32_t cell;
  unsigned char letter;
  StoreMark mark;              // the state before the decision
  std::uint64_t parent_level;  // the level the decision was taken at
};

// Squares at most, for the search to branch on single squares after its
// first run: the choice of a square scans them all.
constexpr std::size_t kMaxCellsForLetters = 4096;

// The way back to the preferred words (see Prefer) may take a quarter of
// the decisions spent finding a fill, and always min_preference_nodes (by
// default 1024: enough for a small grid to get every preferred word), so a
// hard grid's fill comes at most about a quarter later than without.
constexpr std::uint64_t kPreferenceShare = 4;

// The Luby sequence 1 1 2 1 1 2 4 1 1 2 1 1 2 4 8 ...: its element `i`,
// counted from 0.
std::uint64_t Luby(std::uint64_t i) {
  std::uint64_t size = 1;
  unsigned power = 0;
  while (size < i + 1) {
    ++power;
    size = 2 * size + 1;
  }
  while (size - 1 != i) {
    size = (size - 1) / 2;
    --power;
    i %= size;
  }
  return std::uint64_t{1} << power;
}

// Nogood literals and consequences are (slot, word) pairs, "the slot holds
// the word", or, with this bit set in the first, (cell, letter) pairs, "the
// cell holds the letter".
constexpr std::uint32_t kCellLiteral = std::uint32_t{1} << 31;
using Literal = std::pair<std::uint32_t, std::uint32_t>;

// The literal a decision made hold.
Literal LiteralOf(const Decision& decision) {
  return decision.cell == kNone
             ? Literal{decision.slot, decision.word}
             : Literal{decision.cell | kCellLiteral, decision.letter};
}

// A (slot, word) pair as one key.
std::uint64_t Key(std::uint32_t slot, std::uint32_t word) {
  return (std::uint64_t{slot} << 32) | word;
}

// Nogoods kept, at most, and their literals (8 bytes each): with the
// watch lists, a long search's nogoods stay within about 20 MB. Past either
// bound the search records no more, which costs speed, never completeness.
// A 30-second search of a hard 13x13 records a few thousand.
constexpr std::size_t kMaxNogoods = std::size_t{1} << 17;
constexpr std::size_t kMaxNogoodLiterals = std::size_t{1} << 20;

// "If every literal of [first, first + size) holds, `slot` cannot hold
// `word`" (or, with kCellLiteral, that cell that letter). Watches one of
// its literals that does not hold.
struct Nogood {
  std::uint32_t first;
  std::uint32_t size;
  std::uint32_t slot;
  std::uint32_t word;
};

// count / degree on a scale of powers of two: the difference of their
// binary lengths, within one of log2(count / degree).
int RatioScale(std::uint64_t count, std::uint64_t degree) {
  return static_cast<int>(std::bit_width(count)) -
         static_cast<int>(std::bit_width(degree));
}

enum class RunEnd { kFilled, kNoFill, kStopped, kRestart };

// Thrown when the caller's stop answers yes in the middle of the setup or
// of a propagation.
struct StopRequested {};

// The letters each open position of a slot still has a word for.
using Supports = std::array<LetterSet, kMaxEntryLength>;

// The positions of a slot whose cell may still hold more than one letter.
struct OpenPositions {
  std::array<unsigned, kMaxEntryLength> at{};
  unsigned size = 0;
};

// A chunk of a domain's bitset that holds at least one word.
struct NonzeroChunk {
  std::uint32_t index;  // its place in the bitset
  std::uint64_t words;  // its bits
};

class Engine {
 public:
  Engine(const SearchOptions& options, SearchLexicons& lexicons)
      : options_(options), lexicons_(lexicons), prng_(options.seed) {}
  SearchResult Run(const Grid& grid);
  FittingWords Fit(const Grid& grid, std::size_t slot, std::size_t limit);
  std::vector<std::size_t> Dead(const Grid& grid);

 private:
  // Setup and the outer loop.
  bool Setup(const Grid& grid, std::size_t keep);
  void Forbid();
  std::uint32_t FirstEmpty() const;
  void SetupTick(std::size_t units);
  SearchOutcome Solve();
  SearchOutcome SolveByLetters(std::uint64_t unit);
  RunEnd FindFill(std::uint64_t unit, std::uint64_t limit);
  bool Prefer(std::uint64_t unit, std::uint64_t budget);
  bool KeepRefutations();
  void RecordNogoods();
  void AddNogood(std::size_t depth, const Literal& consequence);
  bool Holds(const Literal& literal) const;
  bool Possible(const Literal& literal) const;
  void WakeNogoods(std::uint32_t s, std::uint32_t word);
  void WakeCell(std::uint32_t c, const LetterSet& set);
  RunEnd Dive(std::uint64_t budget);
  Decision Decide(std::uint32_t s);
  std::uint32_t ChooseCell() const;
  unsigned char ChooseLetter(std::uint32_t c) const;
  bool DecideLetter(std::uint32_t c);
  bool Backtrack();
  bool StopAsked() const;
  bool Halted() const;
  // Propagation.
  void Enqueue(std::uint32_t s);
  void Refute(std::uint32_t s, std::uint32_t word);
  void Refute(const Literal& literal);
  bool RemoveLetter(std::uint32_t c, unsigned char letter);
  bool NarrowCell(std::uint32_t c, const LetterSet& keep,
                  std::uint32_t except = kNone);
  bool Propagate();
  void ClearQueue();
  bool Revise(std::uint32_t s);
  std::uint32_t TrimAndCount(std::uint32_t s);
  void FixSlot(std::uint32_t s);
  OpenPositions OpenAt(std::uint32_t s) const;
  Supports ReadLetters(std::uint32_t s, const OpenPositions& open) const;
  Supports FindSupports(std::uint32_t s, const OpenPositions& open);
  void ListNonzeroChunks(std::uint32_t s);
  bool NarrowCells(std::uint32_t s, const OpenPositions& open,
                   const Supports& support);
  bool Filter(std::uint32_t t, unsigned position, const LetterSet& keep,
              const LetterSet& removed);
  void Fail(std::uint32_t s);
  void AddWeight(std::uint32_t c);
  // Choice.
  void NewRanks();
  std::uint32_t Choose();
  void Refresh(std::uint32_t s);
  void Replay(std::size_t node);
  bool Before(std::uint32_t a, std::uint32_t b) const;
  std::uint64_t WeightedDegree(std::uint32_t s) const;
  // What the search keeps and gives back.
  void UndoTo(const StoreMark& mark);
  void NoteBest();
  void CollectFill();
  void CollectBest();
  SlotWord WordOf(std::uint32_t s, std::uint32_t id) const;

  const SearchOptions& options_;
  SearchLexicons& lexicons_;
  SearchResult result_;  // what Search gives back; counts the decisions
  // The slots taking part: by problem slot, its index in result_.slots; by
  // index in result_.slots, its problem slot or kNone.
  std::vector<std::uint32_t> outer_;
  std::vector<std::uint32_t> inner_;
  std::uint32_t wiped_ = kNone;  // the slot the last failed revision emptied
  Problem problem_;              // the fixed problem, built by Setup
  DomainStore store_;            // the state the search changes and undoes
  // By slot and (position, letter): the chunk that last held a word with
  // that letter there. Never undone: a stale residue only costs a scan.
  std::vector<std::uint32_t> residues_;
  // The chunks of one slot's domain that hold a word: FindSupports' scratch.
  std::vector<NonzeroChunk> nonzero_;
  std::vector<std::uint64_t> weight_;     // by cell: failures met there, plus 1
  std::vector<std::uint64_t> rank_;       // by slot: this run's tie-break
  std::vector<std::uint64_t> cell_rank_;  // by cell, when branching on cells
  // Whether the current run decides letters of single cells, not words.
  bool by_letter_ = false;
  // Ratios on one power of two tie (runs after the first).
  bool coarse_ = false;
  std::vector<std::uint64_t> degree_;  // by slot: weighted degree, as of its
                                       // last Refresh; 0 when fixed
  // The choice tree: leaf leaves_ + s holds s, or kNone when s is fixed;
  // every inner node the leaf of its two children that goes first (Before).
  std::vector<std::uint32_t> tree_;
  std::size_t leaves_ = 1;                // a power of two, >= the slots
  std::vector<std::uint32_t> refreshed_;  // leaves Choose must replay
  std::vector<std::uint32_t> queue_;      // slots to revise, in order
  // Letters refuted (see Refute) that are yet to leave their cells, before
  // the next revision: (cell, letter).
  std::vector<std::pair<std::uint32_t, unsigned char>> pending_;
  std::size_t queue_head_ = 0;       // the next of queue_ to revise
  std::vector<char> queued_;         // by slot: in queue_ past its head
  std::uint64_t revisions_ = 0;      // revisions in all propagations
  std::uint64_t setup_work_ = 0;     // setup units since the last question
  std::vector<Decision> decisions_;  // the current run's, outermost first
  // Words and letters the current run proved to be in no fill at its
  // first level, as literals (see kCellLiteral).
  std::vector<Literal> refuted_;
  // By slot: its word in the last fill FindFill found.
  std::vector<std::uint32_t> witness_;
  // The words and letters the current run removed below its first level,
  // on the current branch: (decisions above, slot, word) or (decisions
  // above, cell | kCellLiteral, letter).
  struct Negative {
    std::size_t depth;
    Literal literal;
  };
  std::vector<Negative> negatives_;
  std::vector<Nogood> nogoods_;  // recorded at restarts; never forgotten
  std::vector<Literal> nogood_literals_;
  // By Key(slot, word): the nogoods watching that literal.
  std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> watches_;
  // The most-filled state reached: (slot, word) of its fixed slots, in the
  // order of store_.Fixed() then.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> best_;
  std::size_t best_shared_ = 0;  // leading entries of best_ still fixed
  std::uint64_t prng_;           // the seeded generator of the ranks
};

// ---------------------------------------------------------------------------
// Setup and the outer loop.

SearchResult Engine::Run(const Grid& grid) {
  result_.slots = FindSlots(grid);
  result_.words.assign(result_.slots.size(), std::nullopt);
  try {
    result_.outcome = Setup(grid, kNone) ? Solve() : SearchOutcome::kNoFill;
  } catch (const StopRequested&) {
    result_.outcome = SearchOutcome::kStopped;
  }
  if (result_.outcome == SearchOutcome::kStopped) CollectBest();
  return std::move(result_);
}

// Builds the problem of the active slots of result_.slots (and slot `keep`,
// active or not) and the initial state, with the forbidden words removed;
// false when no fill can exist.
bool Engine::Setup(const Grid& grid, std::size_t keep) {
  std::vector<Slot> slots;
  inner_.assign(result_.slots.size(), kNone);
  for (std::size_t k = 0; k < result_.slots.size(); ++k) {
    if (k != keep && options_.active && !options_.active(result_.slots[k])) {
      continue;
    }
    inner_[k] = static_cast<std::uint32_t>(outer_.size());
    outer_.push_back(static_cast<std::uint32_t>(k));
    slots.push_back(result_.slots[k]);
  }
  const Problem::Tick tick = [this](std::size_t units) { SetupTick(units); };
  if (!problem_.Build(grid, slots, lexicons_, tick)) return false;
  // A slot that no word fits before any other slot is filled.
  std::uint32_t empty = store_.Reset(problem_, tick);
  if (!options_.forbidden.empty()) {
    Forbid();
    empty = FirstEmpty();
  }
  if (empty != kNone) {
    result_.unfillable = outer_[empty];
    return false;
  }
  const std::size_t n = problem_.SlotCount();
  residues_.assign(problem_.ResidueCount(), 0);
  weight_.assign(problem_.CellCount(), 1);
  rank_.assign(n, 0);
  degree_.assign(n, 0);
  leaves_ = std::bit_ceil(std::max<std::size_t>(n, 1));
  tree_.assign(2 * leaves_, kNone);
  queued_.assign(n, 0);
  return true;
}

// Forbidden words leave their slots at the root, where nothing undoes them;
// the slots' counts follow on their first revision.
void Engine::Forbid() {
  for (const auto& [k, word] : options_.forbidden) {
    if (k >= inner_.size() || inner_[k] == kNone) continue;
    const std::uint32_t s = inner_[k];
    const Lexicon& lexicon = *problem_.SlotAt(s).lexicon;
    if (word.size() != lexicon.Length()) continue;
    const std::uint32_t id = lexicon.Find(word);
    if (id != kNone) store_.RemoveWord(s, id);
  }
}

// The first slot with no word left; kNone when every slot has one.
std::uint32_t Engine::FirstEmpty() const {
  for (std::uint32_t s = 0; s < problem_.SlotCount(); ++s) {
    if (store_.FirstWord(s) == kNone) return s;
  }
  return kNone;
}

void Engine::SetupTick(std::size_t units) {
  setup_work_ += units;
  if (setup_work_ < kSetupWorkPerCheck) return;
  setup_work_ = 0;
  if (StopAsked()) throw StopRequested();
}

// Whether the caller's stop (asked every kCheckEvery decisions) or the node
// limit ends the search before its next decision.
bool Engine::Halted() const {
  if (result_.nodes % kCheckEvery == 0 && StopAsked()) return true;
  return options_.node_limit != 0 && result_.nodes >= options_.node_limit;
}

bool Engine::StopAsked() const {
  return options_.stop && options_.stop({result_.nodes, store_.Fixed().size(),
                                         problem_.SlotCount()});
}

// Restarts. The first run stops after first_run_nodes decisions, every
// later one after that many times the Luby sequence 1 1 2 1 1 2 4 ...,
// so budgets eventually exceed what a complete run needs and the
// search stays complete, while most runs stay short: a hard grid's runs are
// lost under an early bad decision rather than slow to finish. What
// carries over: the failure weights, the words a run refuted at its first
// level (see KeepRefutations), and what its last branch proved below that
// (see RecordNogoods). Each run draws new random ranks from the seeded
// generator, and runs after the first let them decide more (see Before).
// Nothing depends on time: only the caller's stop can cut the search.
SearchOutcome Engine::Solve() {
  for (std::uint32_t s = 0; s < problem_.SlotCount(); ++s) Enqueue(s);
  if (!Propagate()) return SearchOutcome::kNoFill;
  NoteBest();
  const std::uint64_t unit =
      std::max<std::uint64_t>(options_.first_run_nodes, 1);
  for (std::uint64_t run = 0;; ++run) {
    const std::uint64_t budget = run == 0 ? unit : unit * Luby(run - 1);
    coarse_ = run > 0;
    // Each run changes the root state only at a level of its own, so that
    // undoing to the root mark restores the root state exactly, even after
    // the run removed words at its first level.
    const StoreMark root = store_.Here();
    store_.OpenLevel();
    NewRanks();
    refuted_.clear();
    switch (Dive(budget)) {
      case RunEnd::kFilled:
        CollectFill();
        return SearchOutcome::kFilled;
      case RunEnd::kNoFill:
        return SearchOutcome::kNoFill;
      case RunEnd::kStopped:
        return SearchOutcome::kStopped;
      case RunEnd::kRestart:
        break;
    }
    UndoTo(root);
    store_.ReturnTo(0);
    assert(store_.Here().trail == root.trail && store_.Level() == 0);
    if (!KeepRefutations()) return SearchOutcome::kNoFill;
    NoteBest();
    if (problem_.CellCount() <= kMaxCellsForLetters)
      return SolveByLetters(unit);
  }
}

// Branching on letters. A grid whose first run ends without a fill is
// mostly one where long slots cross many long slots: there a word decides
// many cells at once, and a wrong one is found out only far below it.
// Deciding the letter of one cell at a time commits far less at each step,
// and on such grids finds a fill many times faster (on dense 9x9 grids of
// the 30 Serbian letters, seconds instead of minutes). The letters it
// decides know nothing of the lists' order, so the fill it finds is only a
// witness: Prefer then walks back to the preferred words.
SearchOutcome Engine::SolveByLetters(std::uint64_t unit) {
  // The first run's failures were met deciding words; they say little of
  // which cell to decide first.
  weight_.assign(problem_.CellCount(), 1);
  switch (FindFill(unit, 0)) {
    case RunEnd::kFilled:
      break;
    case RunEnd::kNoFill:
      return SearchOutcome::kNoFill;
    default:
      return SearchOutcome::kStopped;
  }
  const std::uint64_t budget =
      std::max(result_.nodes / kPreferenceShare, options_.min_preference_nodes);
  if (!Prefer(unit, budget)) return SearchOutcome::kStopped;
  CollectFill();
  return SearchOutcome::kFilled;
}

// Runs by letters from the current state, restarting as Solve does, until
// one fills, no fill is left, the caller stops the search (kStopped), or
// `limit` decisions are spent (kRestart; 0 for no limit). The state is left
// as it was, apart from what the runs refuted at their first level, which
// holds wherever the current state does. kFilled: the fill is in witness_.
RunEnd Engine::FindFill(std::uint64_t unit, std::uint64_t limit) {
  const std::uint64_t level = store_.Level();
  const std::uint64_t start = result_.nodes;
  by_letter_ = true;
  for (std::uint64_t run = 0;; ++run) {
    std::uint64_t budget = unit * Luby(run);
    if (limit != 0) {
      if (result_.nodes - start >= limit) return RunEnd::kRestart;
      budget = std::min(budget, limit - (result_.nodes - start));
    }
    const StoreMark base = store_.Here();
    store_.OpenLevel();
    NewRanks();
    refuted_.clear();
    const RunEnd end = Dive(budget);
    if (end == RunEnd::kStopped) return end;
    if (end == RunEnd::kFilled) {
      witness_.resize(problem_.SlotCount());
      for (std::uint32_t s = 0; s < problem_.SlotCount(); ++s) {
        witness_[s] = store_.FirstWord(s);
      }
    }
    UndoTo(base);
    store_.ReturnTo(level);
    if (end != RunEnd::kRestart) return end;
    // Nogoods hold everywhere only when learnt from the root: below it,
    // their decisions would leave out those of the state they rest on.
    if (level != 0) negatives_.clear();
    if (!KeepRefutations()) return RunEnd::kNoFill;
  }
}

// Back to the preferred words. The witness agrees with the state, so the
// search decides slot by slot as Dive does (Choose, then the slot's words
// in list order), knowing that the witness's word of the slot has a fill.
// Each earlier word is tried: ruled out by propagation or by FindFill
// finding no fill with it, it is refuted, soundly; given a fill by
// FindFill, that fill becomes the witness and the word is taken. So every
// word taken is the earliest of its slot in any fill that agrees with the
// words taken before it, as in Dive. Proving that an earlier word has no
// fill can cost far more than finding the witness did, so the way back
// spends at most `budget` decisions; then every slot not yet decided takes
// the witness's word: a fill is never lost, only some preference. False
// when the caller stops the search.
bool Engine::Prefer(std::uint64_t unit, std::uint64_t budget) {
  const std::uint64_t end = result_.nodes + budget;
  std::vector<Decision> taken;
  for (;;) {
    const std::uint32_t s = Choose();
    if (s == kNone) break;
    for (;;) {
      const std::uint32_t word = store_.FirstWord(s);
      const bool known = word == witness_[s];
      // An earlier word needs at least one decision of FindFill's too.
      if (!known && result_.nodes + 1 >= end) break;
      if (Halted()) return false;
      ++result_.nodes;
      const Decision decision = Decide(s);
      const bool fits = Propagate();
      assert(fits || !known);
      const RunEnd found = known  ? RunEnd::kFilled
                           : fits ? FindFill(unit, end - result_.nodes)
                                  : RunEnd::kNoFill;
      if (found == RunEnd::kStopped) return false;
      if (found == RunEnd::kFilled) {
        taken.push_back(decision);
        NoteBest();
        break;
      }
      UndoTo(decision.mark);
      store_.ReturnTo(decision.parent_level);
      if (found == RunEnd::kRestart) break;
      Refute(s, word);
      [[maybe_unused]] const bool still = Propagate();
      assert(still);
    }
    if (!store_.State(s).fixed) break;
  }
  // Slots left undecided when the budget ran out take the witness's words.
  store_.OpenLevel();
  for (std::uint32_t t = 0; t < problem_.SlotCount(); ++t) {
    if (store_.State(t).fixed) continue;
    store_.Assign(t, witness_[t]);
    Enqueue(t);
  }
  [[maybe_unused]] const bool filled = Propagate();
  assert(filled);
  decisions_ = std::move(taken);
  return true;
}

// A word or letter the run refuted at its first level is in no fill that
// agrees with the state the run started from (the root, for runs by words):
// it leaves that state for good, and what follows from that is propagated
// there too, so no later run proves it again. False when no fill is left.
bool Engine::KeepRefutations() {
  RecordNogoods();
  for (const Literal& literal : refuted_) Refute(literal);
  return Propagate();
}

// Nogoods (Lecoutre et al., "Recording and minimizing nogoods from
// restarts"). The run's last branch took decisions d1 d2 ... and, below the
// first level, removed words as Backtrack refuted them: a word removed with
// k decisions above it is in no fill agreeing with d1 ... dk, since every
// removal at that level rested on those decisions and on removals above.
// So "d1 ... dk hold" forbids the word for good, whatever order later runs
// take decisions in, and without it the next run, with the same preference
// of words, would mostly walk the same branch again. Runs by letters record
// letters the same way, their decisions being letters of cells. Called at
// the root once the run is undone, with decisions_ and negatives_ still its
// last branch.
void Engine::RecordNogoods() {
  for (const Negative& negative : negatives_) {
    if (nogoods_.size() >= kMaxNogoods ||
        nogood_literals_.size() + negative.depth > kMaxNogoodLiterals) {
      break;
    }
    AddNogood(negative.depth, negative.literal);
  }
}

// Adds the nogood "the first `depth` decisions of decisions_ forbid `word`
// in `slot`", less its literals that hold at the root; one with a literal
// the root rules out is never needed, one with none left refutes the word
// at once.
void Engine::AddNogood(std::size_t depth, const Literal& consequence) {
  const auto first = static_cast<std::uint32_t>(nogood_literals_.size());
  for (std::size_t k = 0; k < depth; ++k) {
    const Literal literal = LiteralOf(decisions_[k]);
    if (!Possible(literal)) {
      nogood_literals_.resize(first);
      return;
    }
    if (Holds(literal)) continue;
    nogood_literals_.push_back(literal);
  }
  const auto size = static_cast<std::uint32_t>(nogood_literals_.size()) - first;
  if (size == 0) {
    refuted_.push_back(consequence);
    return;
  }
  const auto [watch_slot, watch_word] = nogood_literals_[first];
  watches_[Key(watch_slot, watch_word)].push_back(
      static_cast<std::uint32_t>(nogoods_.size()));
  nogoods_.push_back({first, size, consequence.first, consequence.second});
}

bool Engine::Holds(const Literal& literal) const {
  if (literal.first & kCellLiteral) {
    const LetterSet& set = store_.Letters(literal.first & ~kCellLiteral);
    return !set.Several() &&
           set.Has(static_cast<unsigned char>(literal.second));
  }
  return store_.State(literal.first).fixed &&
         store_.FirstWord(literal.first) == literal.second;
}

// Whether the literal may still come to hold.
bool Engine::Possible(const Literal& literal) const {
  if (literal.first & kCellLiteral) {
    return store_.Letters(literal.first & ~kCellLiteral)
        .Has(static_cast<unsigned char>(literal.second));
  }
  return store_.Has(literal.first, literal.second);
}

// Cell `c` now holds `set`: when that is one letter, the nogoods watching
// that letter there wake.
void Engine::WakeCell(std::uint32_t c, const LetterSet& set) {
  if (set.Several() || watches_.empty()) return;
  set.ForEach(
      [&](unsigned char letter) { WakeNogoods(c | kCellLiteral, letter); });
}

// Slot `s` now holds `word`. Each nogood watching that literal either
// watches another literal that does not hold yet, or, when all hold, removes
// its word. A nogood keeps watching a literal that held when it fired: the
// removal and the literal's fixing are undone together, at the same level.
void Engine::WakeNogoods(std::uint32_t s, std::uint32_t word) {
  if (watches_.empty()) return;
  const auto it = watches_.find(Key(s, word));
  if (it == watches_.end()) return;
  std::vector<std::uint32_t>& watching = it->second;
  for (std::size_t k = 0; k < watching.size();) {
    const std::uint32_t n = watching[k];
    const Nogood& nogood = nogoods_[n];
    const auto* literal = &nogood_literals_[nogood.first];
    const auto* end = literal + nogood.size;
    while (literal != end && Holds(*literal)) ++literal;
    if (literal == end) {
      Refute({nogood.slot, nogood.word});
      ++k;
      continue;
    }
    watching[k] = watching.back();
    watching.pop_back();
    // Node-based: `watching` stays valid as the map grows.
    watches_[Key(literal->first, literal->second)].push_back(n);
  }
}

// Branching. The search picks a slot (Choose) and tries its earliest word
// first. If that fails, the word is removed from the slot (Backtrack) and
// the state is propagated again before the next choice. Runs by letters
// (see SolveByLetters) pick a cell (ChooseCell) and a letter for it
// instead; a letter that fails leaves the cell the same way.
//
// Preference. Because values are tried in list order and every removal is
// sound given the decisions above it, each decision of the run that finds a
// fill picks the earliest word of its slot among all fills that agree with
// the decisions before it. Runs by letters have no such property; Prefer
// restores it.
RunEnd Engine::Dive(std::uint64_t budget) {
  decisions_.clear();
  negatives_.clear();
  std::uint64_t run_nodes = 0;
  for (;;) {
    const std::uint32_t c = by_letter_ ? ChooseCell() : kNone;
    const std::uint32_t s = c == kNone ? Choose() : kNone;
    if (c == kNone && s == kNone) return RunEnd::kFilled;
    if (Halted()) return RunEnd::kStopped;
    if (run_nodes >= budget) return RunEnd::kRestart;
    ++result_.nodes;
    ++run_nodes;
    bool ok = false;
    if (c != kNone) {
      ok = DecideLetter(c) && Propagate();
    } else {
      assert(!store_.State(s).fixed);
      decisions_.push_back(Decide(s));
      ok = Propagate();
    }
    if (!ok && !Backtrack()) return RunEnd::kNoFill;
    NoteBest();
  }
}

// Leaves slot `s` with its earliest word, at a new level; gives the
// decision, for the caller to keep. The way back (Prefer) may decide a slot
// that propagation has left with one word, its witness's.
Decision Engine::Decide(std::uint32_t s) {
  const std::uint32_t word = store_.FirstWord(s);
  assert(word != kNone);
  const Decision decision{s, word, kNone, 0, store_.Here(), store_.Level()};
  store_.OpenLevel();
  store_.Assign(s, word);
  Enqueue(s);
  return decision;
}

// The open cell with the fewest letters for the failures met there
// (dom/wdeg on cells), ties broken by the run's random rank; kNone when
// every cell holds one letter. Scans every cell (see kMaxCellsForLetters).
std::uint32_t Engine::ChooseCell() const {
  std::uint32_t best = kNone;
  std::uint64_t best_count = 0;
  std::uint64_t best_weight = 1;
  for (std::uint32_t c = 0; c < problem_.CellCount(); ++c) {
    const LetterSet& set = store_.Letters(c);
    if (!set.Several()) continue;
    const std::uint64_t count = static_cast<std::uint64_t>(set.Count());
    const std::uint64_t weight = weight_[c];
    if (best != kNone) {
      const std::uint64_t left = count * best_weight;
      const std::uint64_t right = best_count * weight;
      if (left > right ||
          (left == right && cell_rank_[c] >= cell_rank_[best])) {
        continue;
      }
    }
    best = c;
    best_count = count;
    best_weight = weight;
  }
  return best;
}

// The letter of cell `c` that the most pairs of words agree on: the product
// of the words of each slot through it that have it there. It leaves the
// crossing slots the most words, so the run is least likely to fail below.
unsigned char Engine::ChooseLetter(std::uint32_t c) const {
  unsigned char best = 0;
  std::uint64_t best_score = 0;
  bool first = true;
  store_.Letters(c).ForEach([&](unsigned char letter) {
    std::uint64_t score = 1;
    for (const Occurrence& in : problem_.CellAt(c).in) {
      if (in.slot == kNone) continue;
      const std::uint64_t* bits =
          problem_.SlotAt(in.slot).lexicon->Bits(in.position, letter);
      const SlotState& state = store_.State(in.slot);
      const std::uint64_t* d = store_.Words(in.slot);
      std::uint64_t words = 0;
      for (std::uint32_t i = state.lo; bits && i < state.hi; ++i) {
        words += Ones(d[i] & bits[i]);
      }
      score *= words;
    }
    if (first || score > best_score) {
      best = letter;
      best_score = score;
      first = false;
    }
  });
  return best;
}

// Leaves cell `c` with one letter, at a new level; false when a slot
// through it is emptied.
bool Engine::DecideLetter(std::uint32_t c) {
  const unsigned char letter = ChooseLetter(c);
  decisions_.push_back(
      {kNone, kNone, c, letter, store_.Here(), store_.Level()});
  store_.OpenLevel();
  LetterSet keep;
  keep.Add(letter);
  return NarrowCell(c, keep);
}

// After a failed propagation: undoes the latest decision and removes its
// word from its slot (its letter from its cell), at the level above it,
// until a propagation succeeds. A failed word or letter is in no fill
// agreeing with the decisions above it. False when the run's first
// decision fails with nothing above it.
bool Engine::Backtrack() {
  for (;;) {
    ClearQueue();
    if (decisions_.empty()) return false;
    const Decision back = decisions_.back();
    decisions_.pop_back();
    while (!negatives_.empty() && negatives_.back().depth > decisions_.size()) {
      negatives_.pop_back();
    }
    UndoTo(back.mark);
    store_.ReturnTo(back.parent_level);
    const Literal literal = LiteralOf(back);
    if (decisions_.empty()) {
      refuted_.push_back(literal);
    } else {
      negatives_.push_back({decisions_.size(), literal});
    }
    Refute(literal);
    if (Propagate()) return true;
  }
}

// ---------------------------------------------------------------------------
// Propagation: a queue of slots whose domains changed (AC-3 style), each
// revised until nothing changes, which makes every crossing arc consistent.

void Engine::Enqueue(std::uint32_t s) {
  if (queued_[s]) return;
  queued_[s] = 1;
  queue_.push_back(s);
}

void Engine::Refute(std::uint32_t s, std::uint32_t word) {
  if (store_.RemoveWord(s, word)) Enqueue(s);
}

// Makes `literal` not hold: a word leaves its slot at once, a letter its
// cell before the next revision (see Propagate), since leaving a cell
// filters both slots through it and may fail.
void Engine::Refute(const Literal& literal) {
  if (literal.first & kCellLiteral) {
    pending_.emplace_back(literal.first & ~kCellLiteral,
                          static_cast<unsigned char>(literal.second));
  } else {
    Refute(literal.first, literal.second);
  }
}

bool Engine::RemoveLetter(std::uint32_t c, unsigned char letter) {
  LetterSet gone;
  gone.Add(letter);
  return NarrowCell(c, store_.Letters(c).Without(gone));
}

// Narrowing a cell, by a decision, a refutation or its slot `except`'s
// supports (see NarrowCells): its letters outside `keep` leave it, and
// each slot through it but `except` is filtered. False when a slot is left
// empty, or the cell is in a slot but `except` and is left empty.
bool Engine::NarrowCell(std::uint32_t c, const LetterSet& keep,
                        std::uint32_t except) {
  const LetterSet current = store_.Letters(c);
  const LetterSet kept = keep & current;
  if (kept == current) return true;
  const LetterSet removed = current.Without(kept);
  store_.SetLetters(c, kept);
  WakeCell(c, kept);
  for (const Occurrence& in : problem_.CellAt(c).in) {
    if (in.slot == kNone || in.slot == except) continue;
    if (kept.Empty() || !Filter(in.slot, in.position, kept, removed)) {
      wiped_ = in.slot;
      AddWeight(c);
      return false;
    }
  }
  return true;
}

bool Engine::Propagate() {
  bool ok = true;
  while (ok && (!pending_.empty() || queue_head_ < queue_.size())) {
    if (!pending_.empty()) {
      const auto [c, letter] = pending_.back();
      pending_.pop_back();
      ok = RemoveLetter(c, letter);
      continue;
    }
    const std::uint32_t s = queue_[queue_head_++];
    queued_[s] = 0;
    if (++revisions_ % kRevisionsPerCheck == 0 && StopAsked()) {
      throw StopRequested();
    }
    ok = Revise(s);
  }
  ClearQueue();
  if (ok && options_.check_state) {
    options_.check_state(store_.CheckConsistent(!options_.allow_repeats));
  }
  return ok;
}

void Engine::ClearQueue() {
  for (std::size_t k = queue_head_; k < queue_.size(); ++k) {
    queued_[queue_[k]] = 0;
  }
  queue_.clear();
  queue_head_ = 0;
  pending_.clear();
}

bool Engine::Revise(std::uint32_t s) {
  const std::uint32_t count = TrimAndCount(s);
  if (count == 0) {
    wiped_ = s;
    Fail(s);
    return false;
  }
  if (count == 1 && !store_.State(s).fixed) FixSlot(s);
  const OpenPositions open = OpenAt(s);
  if (open.size == 0) return true;
  const SlotState& state = store_.State(s);
  const Supports support =
      state.count <= (state.hi - state.lo) / kChunksPerWordToRead
          ? ReadLetters(s, open)
          : FindSupports(s, open);
  return NarrowCells(s, open, support);
}

// Tightens the slot's bounds to its nonzero chunks and recounts its words;
// gives the count, recorded unless it is 0.
std::uint32_t Engine::TrimAndCount(std::uint32_t s) {
  const SlotState& state = store_.State(s);
  const std::uint64_t* d = store_.Words(s);
  std::uint32_t lo = state.lo;
  std::uint32_t hi = state.hi;
  while (lo < hi && d[lo] == 0) ++lo;
  while (hi > lo && d[hi - 1] == 0) --hi;
  std::uint32_t count = 0;
  for (std::uint32_t i = lo; i < hi; ++i) count += Ones(d[i]);
  if (count != 0 &&
      (lo != state.lo || hi != state.hi || count != state.count)) {
    store_.SetCount(s, lo, hi, count);
  }
  return count;
}

// No repeats. Once a slot of two or more letters is down to one word, no
// other slot may hold that word, so it leaves every other domain of the same
// length; two slots left with the same single word empty one of them.
void Engine::FixSlot(std::uint32_t s) {
  store_.Fix(s);
  const std::uint32_t word = store_.FirstWord(s);
  WakeNogoods(s, word);
  const unsigned length = problem_.SlotAt(s).length;
  if (options_.allow_repeats || length < 2) return;
  for (std::uint32_t t : problem_.OfLength(length)) {
    if (t != s) Refute(t, word);
  }
}

OpenPositions Engine::OpenAt(std::uint32_t s) const {
  OpenPositions open;
  const unsigned length = problem_.SlotAt(s).length;
  for (unsigned p = 0; p < length; ++p) {
    if (store_.Letters(problem_.CellOf(s, p)).Several()) {
      open.at[open.size++] = p;
    }
  }
  return open;
}

// Supports, from few words: the letters of every word left.
Supports Engine::ReadLetters(std::uint32_t s, const OpenPositions& open) const {
  const Lexicon& lexicon = *problem_.SlotAt(s).lexicon;
  const SlotState& state = store_.State(s);
  const std::uint64_t* d = store_.Words(s);
  Supports support;
  for (std::uint32_t i = state.lo; i < state.hi; ++i) {
    for (std::uint64_t w = d[i]; w != 0; w &= w - 1) {
      std::uint32_t id =
          i * 64 + static_cast<std::uint32_t>(std::countr_zero(w));
      for (unsigned k = 0; k < open.size; ++k) {
        support[k].Add(lexicon.Letter(id, open.at[k]));
      }
    }
  }
  return support;
}

// Supports, from many words: for each letter a cell may still hold, a
// chunk where some word left has it, found again quickly through the chunk
// that last supported it (its residue). A slot still holding every word of
// its list supports every letter its list has. When a residue no longer
// holds, the search for another walks only the chunks that still hold a
// word, listed once per call: deep in the search most of a domain's span is
// empty, and a letter that has lost its support would otherwise cost a scan
// of the whole span.
Supports Engine::FindSupports(std::uint32_t s, const OpenPositions& open) {
  const ProblemSlot& info = problem_.SlotAt(s);
  const Lexicon& lexicon = *info.lexicon;
  const SlotState& state = store_.State(s);
  const std::uint64_t* d = store_.Words(s);
  const bool every_word = state.count == lexicon.size();
  Supports support;
  bool listed = false;
  for (unsigned k = 0; k < open.size; ++k) {
    const unsigned p = open.at[k];
    if (every_word) {
      support[k] = lexicon.Present(p);
      continue;
    }
    const LetterSet candidates =
        store_.Letters(problem_.CellOf(s, p)) & lexicon.Present(p);
    candidates.ForEach([&](unsigned char letter) {
      const std::uint64_t* bits = lexicon.Bits(p, letter);
      std::uint32_t& residue =
          residues_[info.residue +
                    static_cast<std::size_t>(lexicon.LetterSlot(p, letter))];
      if (residue >= state.lo && residue < state.hi &&
          (d[residue] & bits[residue])) {
        support[k].Add(letter);
        return;
      }
      if (!listed) {
        ListNonzeroChunks(s);
        listed = true;
      }
      for (const NonzeroChunk& chunk : nonzero_) {
        if (chunk.words & bits[chunk.index]) {
          residue = chunk.index;
          support[k].Add(letter);
          return;
        }
      }
    });
  }
  return support;
}

void Engine::ListNonzeroChunks(std::uint32_t s) {
  const SlotState& state = store_.State(s);
  const std::uint64_t* d = store_.Words(s);
  nonzero_.clear();
  for (std::uint32_t i = state.lo; i < state.hi; ++i) {
    if (d[i] != 0) nonzero_.push_back({i, d[i]});
  }
}

// Supports. A letter of a cell that no word left in one of its slots has at
// that position cannot be part of any fill, so it leaves the cell's set,
// which in turn filters the crossing slot. False when that slot is emptied.
bool Engine::NarrowCells(std::uint32_t s, const OpenPositions& open,
                         const Supports& support) {
  for (unsigned k = 0; k < open.size; ++k) {
    // The slot's own words all fit what its supports keep.
    if (!NarrowCell(problem_.CellOf(s, open.at[k]), support[k], s)) {
      return false;
    }
  }
  return true;
}

// Filtering a slot by a cell. A word whose letter at a cell is not in the
// cell's set cannot stand in the slot, since the cell holds one letter that
// both slots through it share. Such words leave the domain through the
// per-(position, letter) bitsets of the word list: either clearing the words
// of each removed letter, or keeping only the words of the remaining
// letters, whichever touches fewer bitsets. Empty domain: a slot with no
// word left has no value in any fill that agrees with the state, which
// fails; false then.
bool Engine::Filter(std::uint32_t t, unsigned position, const LetterSet& keep,
                    const LetterSet& removed) {
  const Lexicon& lexicon = *problem_.SlotAt(t).lexicon;
  const LetterSet gone = removed & lexicon.Present(position);
  if (gone.Empty()) return true;
  const LetterSet kept = keep & lexicon.Present(position);
  std::array<const std::uint64_t*, 256> bits;
  unsigned count = 0;
  const bool clear = gone.Count() <= kept.Count();
  (clear ? gone : kept).ForEach([&](unsigned char letter) {
    bits[count++] = lexicon.Bits(position, letter);
  });
  std::uint64_t* d = store_.Edit(t);
  const SlotState& state = store_.State(t);
  std::uint64_t changed = 0;
  std::uint64_t left = 0;
  for (std::uint32_t i = state.lo; i < state.hi; ++i) {
    // Deep in the search most chunks of a domain are empty already: their
    // words' letters need not be looked at.
    if (d[i] == 0) continue;
    std::uint64_t mask = 0;
    for (unsigned k = 0; k < count; ++k) mask |= bits[k][i];
    if (clear) mask = ~mask;
    changed |= d[i] & ~mask;
    d[i] &= mask;
    left |= d[i];
  }
  if (changed) Enqueue(t);
  return left != 0;
}

void Engine::Fail(std::uint32_t s) {
  for (unsigned p = 0; p < problem_.SlotAt(s).length; ++p) {
    AddWeight(problem_.CellOf(s, p));
  }
}

// A weight counts in the degree of both slots through its cell.
void Engine::AddWeight(std::uint32_t c) {
  ++weight_[c];
  for (const Occurrence& in : problem_.CellAt(c).in) {
    if (in.slot != kNone) store_.NoteChanged(in.slot);
  }
}

// ---------------------------------------------------------------------------
// Choice. The search picks the open slot with the smallest ratio of domain
// size to weighted degree (dom/wdeg: the failure counts of its cells whose
// crossing slot is still open), ties broken by a seeded random rank, then
// by the earlier slot. After the first run, ratios on the same power of two
// tie: with words always tried in list order, the ranks are what lets a
// restart look at the grid in another order instead of walking nearly the
// same branch again, and dom/wdeg is only a rough guide anyway. A
// tournament tree over the slots keeps that order: only the slots whose key
// changed since the last choice are replayed.

void Engine::NewRanks() {
  for (std::uint64_t& rank : rank_) rank = SplitMix(prng_);
  if (by_letter_) {
    cell_rank_.resize(problem_.CellCount());
    for (std::uint64_t& rank : cell_rank_) rank = SplitMix(prng_);
  }
  store_.TakeChanged([](std::uint32_t) {});
  for (std::uint32_t s = 0; s < problem_.SlotCount(); ++s) Refresh(s);
  for (std::size_t node = leaves_ - 1; node >= 1; --node) Replay(node);
}

std::uint32_t Engine::Choose() {
  refreshed_.clear();
  store_.TakeChanged([this](std::uint32_t s) {
    Refresh(s);
    refreshed_.push_back(s);
  });
  const std::size_t depth = static_cast<std::size_t>(std::countr_zero(leaves_));
  if (refreshed_.size() * depth >= leaves_) {
    for (std::size_t node = leaves_ - 1; node >= 1; --node) Replay(node);
  } else {
    for (std::uint32_t s : refreshed_) {
      for (std::size_t node = (leaves_ + s) / 2; node >= 1; node /= 2) {
        Replay(node);
      }
    }
  }
  return tree_[1];
}

void Engine::Refresh(std::uint32_t s) {
  const bool fixed = store_.State(s).fixed;
  degree_[s] = fixed ? 0 : WeightedDegree(s);
  tree_[leaves_ + s] = fixed ? kNone : s;
}

void Engine::Replay(std::size_t node) {
  const std::uint32_t a = tree_[2 * node];
  const std::uint32_t b = tree_[2 * node + 1];
  tree_[node] = Before(b, a) ? b : a;
}

// Whether open slot `a` goes before slot `b`; everything goes before kNone.
bool Engine::Before(std::uint32_t a, std::uint32_t b) const {
  if (a == kNone) return false;
  if (b == kNone) return true;
  if (coarse_) {
    const int left = RatioScale(store_.State(a).count, degree_[a]);
    const int right = RatioScale(store_.State(b).count, degree_[b]);
    if (left != right) return left < right;
  } else {
    const std::uint64_t left = store_.State(a).count * degree_[b];
    const std::uint64_t right = store_.State(b).count * degree_[a];
    if (left != right) return left < right;
  }
  if (rank_[a] != rank_[b]) return rank_[a] < rank_[b];
  return a < b;
}

std::uint64_t Engine::WeightedDegree(std::uint32_t s) const {
  std::uint64_t sum = 0;
  for (unsigned p = 0; p < problem_.SlotAt(s).length; ++p) {
    const std::uint32_t c = problem_.CellOf(s, p);
    const std::uint32_t t = problem_.CellAt(c).Other(s).slot;
    if (t != kNone && !store_.State(t).fixed) sum += weight_[c];
  }
  return sum == 0 ? 1 : sum;
}

// ---------------------------------------------------------------------------
// What the search keeps and gives back.

void Engine::UndoTo(const StoreMark& mark) {
  store_.Undo(mark);
  best_shared_ = std::min(best_shared_, store_.Fixed().size());
}

// Keeps the state if it has more fixed slots than any before. Only the
// fixed slots past those it shares with the kept state are copied, so each
// slot's fixing is copied at most once.
void Engine::NoteBest() {
  const std::vector<std::uint32_t>& fixed = store_.Fixed();
  if (fixed.size() <= best_.size()) return;
  best_.resize(fixed.size());
  for (std::size_t k = best_shared_; k < fixed.size(); ++k) {
    best_[k] = {fixed[k], store_.FirstWord(fixed[k])};
  }
  best_shared_ = fixed.size();
}

void Engine::CollectFill() {
  for (std::uint32_t s = 0; s < problem_.SlotCount(); ++s) {
    result_.words[outer_[s]] = WordOf(s, store_.FirstWord(s));
  }
  for (const Decision& decision : decisions_) {
    result_.decisions.emplace_back(outer_[decision.slot],
                                   WordOf(decision.slot, decision.word).word);
  }
}

void Engine::CollectBest() {
  for (const auto& [slot, word] : best_)
    result_.words[outer_[slot]] = WordOf(slot, word);
}

SlotWord Engine::WordOf(std::uint32_t s, std::uint32_t id) const {
  const Lexicon& lexicon = *problem_.SlotAt(s).lexicon;
  return {std::string(lexicon.Word(id)), lexicon.Entry(id)};
}

// ---------------------------------------------------------------------------
// Queries between fills.

// Testing a word: with the root state arc consistent, the word is assigned
// at a level of its own, propagated as a decision of the search would be,
// and undone. On a mostly empty grid with large lists a slot keeps thousands
// of words and each test costs microseconds, so once `limit` fitting words
// are found (and at least kFitAlwaysTested words tested, so that a small
// domain always gets an exact answer) the rest are tested only while
// kFitBudget lasts, or until the caller's stop says so; the words left
// untested are then counted as arc consistency leaves them at the root, an
// upper bound, and `exact` is false.
FittingWords Engine::Fit(const Grid& grid, std::size_t slot,
                         std::size_t limit) {
  constexpr auto kFitBudget = std::chrono::milliseconds(10);
  constexpr std::uint64_t kFitAlwaysTested = 64;
  FittingWords fit;
  result_.slots = FindSlots(grid);
  if (slot >= result_.slots.size()) return fit;
  std::vector<std::uint64_t> root_words;
  std::uint32_t lo = 0;
  try {
    if (!Setup(grid, slot)) return fit;
    for (std::uint32_t s = 0; s < problem_.SlotCount(); ++s) Enqueue(s);
    if (!Propagate()) return fit;
  } catch (const StopRequested&) {
    ClearQueue();
    fit.exact = false;
    return fit;
  }
  const std::uint32_t s = inner_[slot];
  const SlotState& state = store_.State(s);
  lo = state.lo;
  root_words.assign(store_.Words(s) + state.lo, store_.Words(s) + state.hi);
  const StoreMark root = store_.Here();
  const std::uint64_t root_level = store_.Level();
  const auto deadline = std::chrono::steady_clock::now() + kFitBudget;
  std::uint64_t tested = 0;
  for (std::size_t i = 0; i < root_words.size(); ++i) {
    for (std::uint64_t w = root_words[i]; w != 0; w &= w - 1) {
      const bool enough =
          fit.words.size() >= limit && tested >= kFitAlwaysTested;
      if ((enough && std::chrono::steady_clock::now() >= deadline) ||
          StopAsked()) {
        fit.exact = false;
        fit.count += Ones(w);
        for (std::size_t j = i + 1; j < root_words.size(); ++j) {
          fit.count += Ones(root_words[j]);
        }
        return fit;
      }
      ++tested;
      const std::uint32_t id = static_cast<std::uint32_t>(
          (lo + i) * 64 + static_cast<std::uint32_t>(std::countr_zero(w)));
      store_.OpenLevel();
      store_.Assign(s, id);
      Enqueue(s);
      bool ok = false;
      try {
        ok = Propagate();
      } catch (const StopRequested&) {
        ClearQueue();
        UndoTo(root);
        store_.ReturnTo(root_level);
        fit.exact = false;
        fit.count += Ones(w);
        for (std::size_t j = i + 1; j < root_words.size(); ++j) {
          fit.count += Ones(root_words[j]);
        }
        return fit;
      }
      UndoTo(root);
      store_.ReturnTo(root_level);
      if (!ok) continue;
      ++fit.count;
      if (fit.words.size() < limit) fit.words.push_back(WordOf(s, id));
    }
  }
  return fit;
}

// The slots left with no word by the initial state; when there is none, the
// slot the root propagation empties, if it fails.
std::vector<std::size_t> Engine::Dead(const Grid& grid) {
  std::vector<std::size_t> dead;
  result_.slots = FindSlots(grid);
  for (std::size_t k = 0; k < result_.slots.size(); ++k) {
    if (result_.slots[k].length > kMaxEntryLength &&
        (!options_.active || options_.active(result_.slots[k]))) {
      dead.push_back(k);
    }
  }
  if (!dead.empty()) return dead;
  try {
    if (!Setup(grid, kNone)) {
      for (std::uint32_t s = 0; s < problem_.SlotCount(); ++s) {
        if (store_.FirstWord(s) == kNone) dead.push_back(outer_[s]);
      }
      return dead;
    }
    for (std::uint32_t s = 0; s < problem_.SlotCount(); ++s) Enqueue(s);
    if (!Propagate() && wiped_ != kNone) dead.push_back(outer_[wiped_]);
  } catch (const StopRequested&) {
    ClearQueue();
  }
  return dead;
}

}  // namespace

SearchResult Search(const Grid& grid, SearchLexicons& lexicons,
                    const SearchOptions& options) {
  Engine engine(options, lexicons);
  return engine.Run(grid);
}

SearchResult Search(const Grid& grid, WordLists& lists,
                    const SearchOptions& options) {
  SearchLexicons lexicons(lists);
  return Search(grid, lexicons, options);
}

FittingWords FitSlot(const Grid& grid, SearchLexicons& lexicons,
                     std::size_t slot, std::size_t limit,
                     const SearchOptions& options) {
  Engine engine(options, lexicons);
  return engine.Fit(grid, slot, limit);
}

std::vector<std::size_t> DeadSlots(const Grid& grid, SearchLexicons& lexicons,
                                   const SearchOptions& options) {
  Engine engine(options, lexicons);
  return engine.Dead(grid);
}

}  // namespace polimreza
