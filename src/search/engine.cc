// How the search works. Every slot is a variable whose values are the
// distinct words of its list, numbered in the order of their first entries
// (a later entry of the same word adds nothing). The fixed problem (problem.h)
// holds the slots, cells and lexicons; the domain store (domain_store.h)
// holds what changes: a bitset of candidate words per slot, a set of letters
// per cell, and the trail that undoes both. This file decides; the
// propagator (propagator.h) propagates, the slot order (slot_order.h)
// chooses, the nogood store (nogood_store.h) keeps what restarts learnt.
// Beside each pruning rule stands why it loses no fill.

#include "search/engine.h"

#include <algorithm>
#include <cassert>

namespace polimreza {

namespace {

// Decisions between two questions to the caller's stop: asking may cost
// the caller a clock reading, a decision far less.
constexpr std::uint64_t kCheckEvery = 256;

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

}  // namespace

// ---------------------------------------------------------------------------
// The outer loop.

SearchResult Engine::Run(const Grid& grid) {
  instance_.slots = FindSlots(grid);
  result_.words.assign(instance_.slots.size(), std::nullopt);
  try {
    result_.outcome =
        instance_.Setup(grid, kNone) ? Solve() : SearchOutcome::kNoFill;
  } catch (const StopRequested&) {
    result_.outcome = SearchOutcome::kStopped;
  }
  if (result_.outcome == SearchOutcome::kStopped) CollectBest();
  result_.slots = std::move(instance_.slots);
  result_.unfillable = instance_.unfillable;
  result_.nodes = nodes_;
  return std::move(result_);
}

// Whether the caller's stop (asked every kCheckEvery decisions) or the node
// limit ends the search before its next decision.
bool Engine::Halted() const {
  if (nodes_ % kCheckEvery == 0 && instance_.StopAsked()) return true;
  const std::uint64_t limit = instance_.options.node_limit;
  return limit != 0 && nodes_ >= limit;
}

// Restarts. The first run stops after first_run_nodes decisions, every
// later one after that many times the Luby sequence 1 1 2 1 1 2 4 ...,
// so budgets eventually exceed what a complete run needs and the
// search stays complete, while most runs stay short: a hard grid's runs are
// lost under an early bad decision rather than slow to finish. What
// carries over: the failure weights, the words a run refuted at its first
// level (see KeepRefutations), and what its last branch proved below that
// (see RecordNogoods). Each run draws new random ranks from the seeded
// generator, and runs after the first let them decide more (see
// SlotOrder::Before). Nothing depends on time: only the caller's stop can
// cut the search.
SearchOutcome Engine::Solve() {
  propagator_.EnqueueAll();
  if (!propagator_.Propagate()) return SearchOutcome::kNoFill;
  NoteBest();
  const std::uint64_t unit =
      std::max<std::uint64_t>(instance_.options.first_run_nodes, 1);
  for (std::uint64_t run = 0;; ++run) {
    const std::uint64_t budget = run == 0 ? unit : unit * Luby(run - 1);
    // Each run changes the root state only at a level of its own, so that
    // undoing to the root mark restores the root state exactly, even after
    // the run removed words at its first level.
    const StoreMark root = store_.Here();
    StartRun(Branching::kWords, run > 0);
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
    if (problem_.CellCount() <= kMaxCellsForLetters) {
      return SolveByLetters(unit);
    }
  }
}

// Opens the run's own level and draws its ranks.
void Engine::StartRun(Branching branching, bool coarse) {
  branching_ = branching;
  store_.OpenLevel();
  order_.NewRun(coarse, branching == Branching::kLetters);
  refuted_.clear();
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
  order_.ResetWeights();
  switch (FindFill(unit, 0)) {
    case RunEnd::kFilled:
      break;
    case RunEnd::kNoFill:
      return SearchOutcome::kNoFill;
    default:
      return SearchOutcome::kStopped;
  }
  const std::uint64_t budget = std::max(nodes_ / kPreferenceShare,
                                        instance_.options.min_preference_nodes);
  if (!Prefer(unit, budget)) return SearchOutcome::kStopped;
  CollectFill();
  return SearchOutcome::kFilled;
}

// Runs by letters from the current state, restarting as Solve does, until
// one fills, no fill is left, the caller stops the search (kStopped), or
// `limit` decisions are spent (kRestart; 0 for no limit). The state is left
// as it was, apart from what the runs refuted at their first level, which
// holds wherever the current state does. kFilled: the fill is in witness_.
// Runs by letters order slots (for the walk back) by exact ratios.
Engine::RunEnd Engine::FindFill(std::uint64_t unit, std::uint64_t limit) {
  const std::uint64_t level = store_.Level();
  const std::uint64_t start = nodes_;
  for (std::uint64_t run = 0;; ++run) {
    std::uint64_t budget = unit * Luby(run);
    if (limit != 0) {
      if (nodes_ - start >= limit) return RunEnd::kRestart;
      budget = std::min(budget, limit - (nodes_ - start));
    }
    const StoreMark base = store_.Here();
    StartRun(Branching::kLetters, false);
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
  const std::uint64_t end = nodes_ + budget;
  std::vector<Decision> taken;
  for (;;) {
    const std::uint32_t s = order_.Choose();
    if (s == kNone) break;
    const Walk walk = PreferSlot(s, unit, end, taken);
    if (walk == Walk::kStopped) return false;
    if (walk == Walk::kOutOfBudget) break;
  }
  TakeWitness();
  decisions_ = std::move(taken);
  return true;
}

// Tries the words of open slot `s` in list order until one has a fill (it
// is taken, its decision added to `taken`), the budget that ends at
// decision `end` runs out, or the caller stops the search.
Engine::Walk Engine::PreferSlot(std::uint32_t s, std::uint64_t unit,
                                std::uint64_t end,
                                std::vector<Decision>& taken) {
  for (;;) {
    const std::uint32_t word = store_.FirstWord(s);
    const bool known = word == witness_[s];
    // An earlier word needs at least one decision of FindFill's too.
    if (!known && nodes_ + 1 >= end) return Walk::kOutOfBudget;
    if (Halted()) return Walk::kStopped;
    ++nodes_;
    const Decision decision = Decide(s);
    const bool fits = propagator_.Propagate();
    assert(fits || !known);
    const RunEnd found = known  ? RunEnd::kFilled
                         : fits ? FindFill(unit, end - nodes_)
                                : RunEnd::kNoFill;
    if (found == RunEnd::kStopped) return Walk::kStopped;
    if (found == RunEnd::kFilled) {
      taken.push_back(decision);
      NoteBest();
      assert(store_.State(s).fixed);
      return Walk::kTaken;
    }
    UndoTo(decision);
    if (found == RunEnd::kRestart) return Walk::kOutOfBudget;
    propagator_.Refute(s, word);
    [[maybe_unused]] const bool still = propagator_.Propagate();
    assert(still);
  }
}

// Slots left undecided when the way back's budget ran out take the
// witness's words, at a level of their own.
void Engine::TakeWitness() {
  store_.OpenLevel();
  for (std::uint32_t t = 0; t < problem_.SlotCount(); ++t) {
    if (store_.State(t).fixed) continue;
    store_.Assign(t, witness_[t]);
    propagator_.Enqueue(t);
  }
  [[maybe_unused]] const bool filled = propagator_.Propagate();
  assert(filled);
}

// A word or letter the run refuted at its first level is in no fill that
// agrees with the state the run started from (the root, for runs by words):
// it leaves that state for good, and what follows from that is propagated
// there too, so no later run proves it again.
bool Engine::KeepRefutations() {
  RecordNogoods();
  for (const Literal& literal : refuted_) propagator_.Refute(literal);
  return propagator_.Propagate();
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
    if (!instance_.nogoods.Room(negative.depth)) break;
    instance_.nogoods.Add(decisions_, negative.depth, negative.literal,
                          refuted_);
  }
}

// ---------------------------------------------------------------------------
// Branching. The search picks a slot (SlotOrder::Choose) and tries its
// earliest word first. If that fails, the word is removed from the slot
// (Backtrack) and the state is propagated again before the next choice.
// Runs by letters (see SolveByLetters) pick a cell (SlotOrder::ChooseCell)
// and a letter for it instead; a letter that fails leaves the cell the same
// way.
//
// Preference. Because values are tried in list order and every removal is
// sound given the decisions above it, each decision of the run that finds a
// fill picks the earliest word of its slot among all fills that agree with
// the decisions before it. Runs by letters have no such property; Prefer
// restores it.
Engine::RunEnd Engine::Dive(std::uint64_t budget) {
  decisions_.clear();
  negatives_.clear();
  std::uint64_t run_nodes = 0;
  for (;;) {
    const std::uint32_t c =
        branching_ == Branching::kLetters ? order_.ChooseCell() : kNone;
    const std::uint32_t s = c == kNone ? order_.Choose() : kNone;
    if (c == kNone && s == kNone) return RunEnd::kFilled;
    if (Halted()) return RunEnd::kStopped;
    if (run_nodes >= budget) return RunEnd::kRestart;
    ++nodes_;
    ++run_nodes;
    bool ok = false;
    if (c != kNone) {
      ok = DecideLetter(c) && propagator_.Propagate();
    } else {
      decisions_.push_back(Decide(s));
      ok = propagator_.Propagate();
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
  const Decision decision{Literal::OfWord(s, word), store_.Here(),
                          store_.Level()};
  store_.OpenLevel();
  store_.Assign(s, word);
  propagator_.Enqueue(s);
  return decision;
}

// Leaves cell `c` with its first letter (SlotOrder::ChooseLetter), at a new
// level; false when a slot through it is emptied.
bool Engine::DecideLetter(std::uint32_t c) {
  const unsigned char letter = order_.ChooseLetter(c);
  decisions_.push_back(
      {Literal::OfLetter(c, letter), store_.Here(), store_.Level()});
  store_.OpenLevel();
  LetterSet keep;
  keep.Add(letter);
  return propagator_.NarrowCell(c, keep);
}

// After a failed propagation: undoes the latest decision and removes its
// word from its slot (its letter from its cell), at the level above it,
// until a propagation succeeds. A failed word or letter is in no fill
// agreeing with the decisions above it. False when the run's first
// decision fails with nothing above it.
bool Engine::Backtrack() {
  for (;;) {
    propagator_.ClearQueue();
    if (decisions_.empty()) return false;
    const Decision back = decisions_.back();
    decisions_.pop_back();
    while (!negatives_.empty() && negatives_.back().depth > decisions_.size()) {
      negatives_.pop_back();
    }
    UndoTo(back);
    if (decisions_.empty()) {
      refuted_.push_back(back.literal);
    } else {
      negatives_.push_back({decisions_.size(), back.literal});
    }
    propagator_.Refute(back.literal);
    if (propagator_.Propagate()) return true;
  }
}

// ---------------------------------------------------------------------------
// What the search keeps and gives back.

// Back to the state before `decision`, at the level it was taken at.
void Engine::UndoTo(const Decision& decision) {
  UndoTo(decision.mark);
  store_.ReturnTo(decision.parent_level);
}

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
  const std::vector<std::uint32_t>& outer = instance_.outer;
  for (std::uint32_t s = 0; s < problem_.SlotCount(); ++s) {
    result_.words[outer[s]] = instance_.WordOf(s, store_.FirstWord(s));
  }
  for (const Decision& decision : decisions_) {
    const std::uint32_t s = decision.literal.Slot();
    result_.decisions.emplace_back(
        outer[s], instance_.WordOf(s, decision.literal.Word()).word);
  }
}

void Engine::CollectBest() {
  for (const auto& [slot, word] : best_) {
    result_.words[instance_.outer[slot]] = instance_.WordOf(slot, word);
  }
}

}  // namespace polimreza
