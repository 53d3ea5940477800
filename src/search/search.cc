#include "search/search.h"

#include <algorithm>
#include <array>
#include <bit>
#include <memory>

#include "search/lexicon.h"

// How the search works, and why each pruning rule loses no fill.
//
// Variables and values. Every slot is a variable whose values are the
// distinct words of its list, numbered in the order of their first entries
// (a later entry of the same word adds nothing). A slot's domain is a bitset
// over those numbers; every cell keeps the set of letters it can still hold.
//
// Filtering a slot by a cell. A word whose letter at a cell is not in the
// cell's set cannot stand in the slot, since the cell holds one letter that
// both slots through it share. The search removes such words by intersecting
// the domain with the per-(position, letter) bitsets of the word list:
// either clearing the words of each removed letter, or keeping only the words
// of the remaining letters, whichever touches fewer bitsets.
//
// Supports. A letter of a cell that no word left in one of its slots has at
// that position cannot be part of any fill, so it leaves the cell's set,
// which in turn filters the crossing slot. Repeating both rules until nothing
// changes (a queue of slots whose domains changed, AC-3 style) makes every
// crossing arc consistent. A letter's support is found again quickly through
// the 64-bit chunk that last supported it (a residue, never undone: a stale
// residue only costs a scan).
//
// No repeats. Once a slot of two or more letters is down to one word, no
// other slot may hold that word, so it leaves every other domain of the same
// length; two slots left with the same single word empty one of them.
//
// Empty domain. A slot with no word left has no value in any fill that
// agrees with the state: the state fails.
//
// Branching. The search picks the slot with the smallest ratio of domain
// size to weighted degree (dom/wdeg: the failure counts of its cells whose
// crossing slot is still open), ties broken by a seeded random rank, and
// tries its earliest word first. If that fails, the word is removed from the
// slot (it is in no fill agreeing with the decisions above) and the state is
// propagated again before the next choice. Every change is recorded once per
// level on an undo trail and restored on backtracking.
//
// Restarts. A run stops after a node budget that doubles each time, so the
// budget eventually exceeds what a complete run needs and the search stays
// complete. What carries over: the failure weights, and the words a run
// refuted at its first level (with no decision above them they are in no
// fill at all). Each run draws new random ranks from the seeded generator.
// Nothing depends on time: only the caller's stop can cut the search.
//
// Preference. Because values are tried in list order and every removal is
// sound given the decisions above it, each decision of the run that finds a
// fill picks the earliest word of its slot among all fills that agree with
// the decisions before it.

namespace polimreza {

namespace {

constexpr std::uint32_t kNone = ~std::uint32_t{0};
constexpr std::uint64_t kCheckEvery = 256;

// Bits set in `w`, inline: without a popcount instruction in the baseline
// instruction set, std::popcount becomes a library call.
inline std::uint32_t Ones(std::uint64_t w) {
  w -= (w >> 1) & 0x5555555555555555ull;
  w = (w & 0x3333333333333333ull) + ((w >> 2) & 0x3333333333333333ull);
  w = (w + (w >> 4)) & 0x0F0F0F0F0F0F0F0Full;
  return static_cast<std::uint32_t>((w * 0x0101010101010101ull) >> 56);
}

std::uint64_t SplitMix(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

struct SlotInfo {
  unsigned length = 0;
  const Lexicon* lexicon = nullptr;
  std::array<std::uint32_t, kMaxSlotLength> cells{};
  std::size_t domain = 0;   // offset of its bitset in the domain pool
  std::size_t residue = 0;  // offset of its residues
};

struct CellInfo {
  std::array<std::uint32_t, 2> slot{kNone, kNone};  // by Direction
  std::array<std::uint8_t, 2> position{};
};

struct SlotState {
  std::uint32_t lo = 0;  // chunks outside [lo, hi) are all zero
  std::uint32_t hi = 0;
  std::uint32_t count = 0;
  bool fixed = false;
  std::uint64_t stamp = 0;  // the level that last saved it
};

struct CellState {
  LetterSet set;
  std::uint64_t stamp = 0;
};

struct SlotUndo {
  std::uint32_t slot;
  SlotState state;
  std::size_t chunks;  // where its chunks [lo, hi) start in chunk_trail_
};

struct CellUndo {
  std::uint32_t cell;
  CellState state;
};

struct Mark {
  std::size_t slots, chunks, cells;
};

struct Decision {
  std::uint32_t slot;
  std::uint32_t word;
  Mark mark;
  std::uint64_t parent_level;
  std::size_t fixed;
};

enum class RunEnd { kFilled, kNoFill, kStopped, kRestart };

// Thrown when the caller's stop answers yes in the middle of a propagation.
struct StopRequested {};

// Slot revisions between two questions to the caller's stop during one
// propagation: only a huge grid takes that many at once.
constexpr std::uint64_t kRevisionsPerCheck = std::uint64_t{1} << 16;

class Engine {
 public:
  Engine(const Grid& grid, WordLists& lists, const SearchOptions& options);
  SearchResult Run();

 private:
  SearchResult RunSearch();
  std::uint64_t* Domain(std::uint32_t s) {
    return pool_.data() + slots_[s].domain;
  }
  Mark Here() const {
    return {slot_trail_.size(), chunk_trail_.size(), cell_trail_.size()};
  }
  void Save(std::uint32_t s);
  void SetCell(std::uint32_t c, const LetterSet& set);
  void Undo(const Mark& mark);
  void Enqueue(std::uint32_t s);
  bool Propagate();
  bool Revise(std::uint32_t s);
  bool Filter(std::uint32_t t, unsigned position, const LetterSet& keep,
              const LetterSet& removed);
  void Fail(std::uint32_t s);
  std::uint32_t OnlyWord(std::uint32_t s);
  std::uint32_t Choose() const;
  std::uint64_t WeightedDegree(std::uint32_t s) const;
  void NoteBest();
  RunEnd Dive(std::uint64_t budget);
  SlotWord WordOf(std::uint32_t s, std::uint32_t id) const;

  const SearchOptions& options_;
  SearchResult result_;
  std::array<std::unique_ptr<Lexicon>, kMaxSlotLength + 1> lexicons_;
  std::vector<SlotInfo> slots_;
  std::vector<CellInfo> cells_;
  std::array<std::vector<std::uint32_t>, kMaxSlotLength + 1> by_length_;
  std::vector<std::uint64_t> pool_;
  std::vector<std::uint32_t> residues_;
  std::vector<SlotState> slot_state_;
  std::vector<CellState> cell_state_;
  std::vector<std::uint64_t> weight_;  // failures met at each cell
  std::vector<std::uint64_t> rank_;
  std::vector<SlotUndo> slot_trail_;
  std::vector<std::uint64_t> chunk_trail_;
  std::vector<CellUndo> cell_trail_;
  std::vector<std::uint32_t> queue_;
  std::size_t queue_head_ = 0;
  std::uint64_t revisions_ = 0;
  std::vector<char> queued_;
  std::vector<Decision> decisions_;
  // Words the current run proved to be in no fill at its first level.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> refuted_;
  std::uint64_t level_ = 0;
  std::uint64_t levels_ = 0;
  std::size_t fixed_ = 0;
  std::size_t best_fixed_ = 0;
  std::vector<std::uint32_t> best_;
  std::uint64_t prng_;
  bool ready_ = false;
};

Engine::Engine(const Grid& grid, WordLists& lists, const SearchOptions& options)
    : options_(options), prng_(options.seed) {
  result_.slots = FindSlots(grid);
  const std::size_t n = result_.slots.size();
  for (const Slot& slot : result_.slots) {
    if (slot.length > kMaxSlotLength) return;  // no list: nothing fits
  }
  std::vector<std::uint32_t> cell_id(grid.CellCount(), kNone);
  slots_.resize(n);
  for (std::uint32_t s = 0; s < n; ++s) {
    const Slot& slot = result_.slots[s];
    SlotInfo& info = slots_[s];
    info.length = slot.length;
    if (!lexicons_[slot.length]) {
      lexicons_[slot.length] =
          std::make_unique<Lexicon>(*lists.List(slot.length));
    }
    info.lexicon = lexicons_[slot.length].get();
    by_length_[slot.length].push_back(s);
    for (unsigned p = 0; p < slot.length; ++p) {
      CellIndex i = slot.start + p * grid.Step(slot.direction);
      if (cell_id[i] == kNone) {
        cell_id[i] = static_cast<std::uint32_t>(cells_.size());
        cells_.emplace_back();
        CellState state;
        std::int32_t value = grid.Cell(i);
        if (value == CELL_EMPTY) {
          state.set = LetterSet::All();
        } else {
          state.set.Add(static_cast<unsigned char>(value));
        }
        cell_state_.push_back(state);
      }
      info.cells[p] = cell_id[i];
      cells_[cell_id[i]].slot[slot.direction] = s;
      cells_[cell_id[i]].position[slot.direction] =
          static_cast<std::uint8_t>(p);
    }
  }
  std::size_t pool = 0;
  std::size_t residues = 0;
  for (SlotInfo& info : slots_) {
    info.domain = pool;
    pool += info.lexicon->Chunks();
    info.residue = residues;
    residues += info.lexicon->LetterSlots();
  }
  pool_.assign(pool, 0);
  residues_.assign(residues, 0);
  slot_state_.resize(n);
  weight_.assign(cells_.size(), 1);
  rank_.assign(n, 0);
  queued_.assign(n, 0);
  best_.assign(n, kNone);

  // Initial domains: the words that fit the slot's given letters.
  for (std::uint32_t s = 0; s < n; ++s) {
    const SlotInfo& info = slots_[s];
    const Lexicon& lexicon = *info.lexicon;
    std::uint64_t* d = Domain(s);
    const std::size_t chunks = lexicon.Chunks();
    std::fill(d, d + chunks, ~std::uint64_t{0});
    if (lexicon.size() % 64 != 0) {
      d[chunks - 1] = (std::uint64_t{1} << (lexicon.size() % 64)) - 1;
    }
    for (unsigned p = 0; p < info.length; ++p) {
      const LetterSet& set = cell_state_[info.cells[p]].set;
      if (set.Count() != 1) continue;
      unsigned char letter = 0;
      set.ForEach([&](unsigned char l) { letter = l; });
      const std::uint64_t* bits = lexicon.Bits(p, letter);
      for (std::size_t i = 0; i < chunks; ++i) d[i] &= bits ? bits[i] : 0;
    }
    SlotState& state = slot_state_[s];
    state.hi = static_cast<std::uint32_t>(chunks);
    for (std::size_t i = 0; i < chunks; ++i) state.count += Ones(d[i]);
    if (state.count == 0) {
      if (!result_.unfillable) result_.unfillable = s;
    }
  }
  ready_ = !result_.unfillable;
}

void Engine::Save(std::uint32_t s) {
  SlotState& state = slot_state_[s];
  if (state.stamp == level_) return;
  slot_trail_.push_back({s, state, chunk_trail_.size()});
  const std::uint64_t* d = Domain(s);
  chunk_trail_.insert(chunk_trail_.end(), d + state.lo, d + state.hi);
  state.stamp = level_;
}

void Engine::SetCell(std::uint32_t c, const LetterSet& set) {
  CellState& state = cell_state_[c];
  if (state.stamp != level_) {
    cell_trail_.push_back({c, state});
    state.stamp = level_;
  }
  state.set = set;
}

void Engine::Undo(const Mark& mark) {
  while (slot_trail_.size() > mark.slots) {
    const SlotUndo& undo = slot_trail_.back();
    std::uint64_t* d = Domain(undo.slot);
    std::copy(
        chunk_trail_.begin() + static_cast<std::ptrdiff_t>(undo.chunks),
        chunk_trail_.begin() + static_cast<std::ptrdiff_t>(
                                   undo.chunks + undo.state.hi - undo.state.lo),
        d + undo.state.lo);
    slot_state_[undo.slot] = undo.state;
    slot_trail_.pop_back();
  }
  chunk_trail_.resize(mark.chunks);
  while (cell_trail_.size() > mark.cells) {
    cell_state_[cell_trail_.back().cell] = cell_trail_.back().state;
    cell_trail_.pop_back();
  }
}

void Engine::Enqueue(std::uint32_t s) {
  if (queued_[s]) return;
  queued_[s] = 1;
  queue_.push_back(s);
}

bool Engine::Propagate() {
  while (queue_head_ < queue_.size()) {
    std::uint32_t s = queue_[queue_head_++];
    queued_[s] = 0;
    if (++revisions_ % kRevisionsPerCheck == 0 && options_.stop &&
        options_.stop({result_.nodes, fixed_, slots_.size()})) {
      throw StopRequested();
    }
    if (!Revise(s)) {
      for (std::size_t k = queue_head_; k < queue_.size(); ++k) {
        queued_[queue_[k]] = 0;
      }
      queue_.clear();
      queue_head_ = 0;
      return false;
    }
  }
  queue_.clear();
  queue_head_ = 0;
  return true;
}

void Engine::Fail(std::uint32_t s) {
  for (unsigned p = 0; p < slots_[s].length; ++p) ++weight_[slots_[s].cells[p]];
}

std::uint32_t Engine::OnlyWord(std::uint32_t s) {
  const std::uint64_t* d = Domain(s);
  const SlotState& state = slot_state_[s];
  for (std::uint32_t i = state.lo; i < state.hi; ++i) {
    if (d[i] != 0) {
      return i * 64 + static_cast<std::uint32_t>(std::countr_zero(d[i]));
    }
  }
  return kNone;
}

bool Engine::Revise(std::uint32_t s) {
  const SlotInfo& info = slots_[s];
  const Lexicon& lexicon = *info.lexicon;
  std::uint64_t* d = Domain(s);
  SlotState state = slot_state_[s];
  std::uint32_t lo = state.lo;
  std::uint32_t hi = state.hi;
  while (lo < hi && d[lo] == 0) ++lo;
  while (hi > lo && d[hi - 1] == 0) --hi;
  std::uint32_t count = 0;
  for (std::uint32_t i = lo; i < hi; ++i) count += Ones(d[i]);
  if (count == 0) {
    Fail(s);
    return false;
  }
  if (lo != state.lo || hi != state.hi || count != state.count) {
    Save(s);
    slot_state_[s].lo = lo;
    slot_state_[s].hi = hi;
    slot_state_[s].count = count;
  }
  if (count == 1 && !state.fixed) {
    Save(s);
    slot_state_[s].fixed = true;
    ++fixed_;
    if (!options_.allow_repeats && info.length >= 2) {
      const std::uint32_t word = OnlyWord(s);
      const std::uint32_t chunk = word / 64;
      const std::uint64_t bit = std::uint64_t{1} << (word % 64);
      for (std::uint32_t t : by_length_[info.length]) {
        if (t == s) continue;
        const SlotState& other = slot_state_[t];
        if (chunk < other.lo || chunk >= other.hi) continue;
        if ((Domain(t)[chunk] & bit) == 0) continue;
        Save(t);
        Domain(t)[chunk] &= ~bit;
        Enqueue(t);
      }
    }
  }

  // The positions whose cell may still hold more than one letter.
  std::array<LetterSet, kMaxSlotLength> support;
  std::array<unsigned, kMaxSlotLength> open;
  unsigned opened = 0;
  for (unsigned p = 0; p < info.length; ++p) {
    if (cell_state_[info.cells[p]].set.Count() > 1) open[opened++] = p;
  }
  if (opened == 0) return true;
  if (count <= (hi - lo) / 4) {
    // Few words: read their letters.
    for (std::uint32_t i = lo; i < hi; ++i) {
      for (std::uint64_t w = d[i]; w != 0; w &= w - 1) {
        std::uint32_t id =
            i * 64 + static_cast<std::uint32_t>(std::countr_zero(w));
        for (unsigned k = 0; k < opened; ++k) {
          support[k].Add(lexicon.Letter(id, open[k]));
        }
      }
    }
  } else {
    for (unsigned k = 0; k < opened; ++k) {
      const unsigned p = open[k];
      LetterSet candidates =
          cell_state_[info.cells[p]].set & lexicon.Present(p);
      candidates.ForEach([&](unsigned char letter) {
        const std::uint64_t* bits = lexicon.Bits(p, letter);
        std::uint32_t& residue =
            residues_[info.residue +
                      static_cast<std::size_t>(lexicon.LetterSlot(p, letter))];
        if (residue >= lo && residue < hi && (d[residue] & bits[residue])) {
          support[k].Add(letter);
          return;
        }
        for (std::uint32_t i = lo; i < hi; ++i) {
          if (d[i] & bits[i]) {
            residue = i;
            support[k].Add(letter);
            return;
          }
        }
      });
    }
  }
  for (unsigned k = 0; k < opened; ++k) {
    const std::uint32_t c = info.cells[open[k]];
    const LetterSet current = cell_state_[c].set;
    const LetterSet keep = support[k] & current;
    if (keep == current) continue;
    const LetterSet removed = current.Without(keep);
    SetCell(c, keep);
    const int across = cells_[c].slot[ACROSS] == s ? 1 : 0;
    const std::uint32_t t = cells_[c].slot[across ? DOWN : ACROSS];
    if (t == kNone) continue;
    if (!Filter(t, cells_[c].position[across ? DOWN : ACROSS], keep, removed)) {
      ++weight_[c];
      return false;
    }
  }
  return true;
}

bool Engine::Filter(std::uint32_t t, unsigned position, const LetterSet& keep,
                    const LetterSet& removed) {
  const Lexicon& lexicon = *slots_[t].lexicon;
  const LetterSet gone = removed & lexicon.Present(position);
  if (gone.Empty()) return true;
  const LetterSet kept = keep & lexicon.Present(position);
  std::array<const std::uint64_t*, 256> bits;
  unsigned count = 0;
  const bool clear = gone.Count() <= kept.Count();
  (clear ? gone : kept).ForEach([&](unsigned char letter) {
    bits[count++] = lexicon.Bits(position, letter);
  });
  Save(t);
  const SlotState& state = slot_state_[t];
  std::uint64_t* d = Domain(t);
  std::uint64_t changed = 0;
  std::uint64_t left = 0;
  for (std::uint32_t i = state.lo; i < state.hi; ++i) {
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

std::uint64_t Engine::WeightedDegree(std::uint32_t s) const {
  const SlotInfo& info = slots_[s];
  std::uint64_t sum = 0;
  for (unsigned p = 0; p < info.length; ++p) {
    const CellInfo& cell = cells_[info.cells[p]];
    std::uint32_t t = cell.slot[cell.slot[ACROSS] == s ? DOWN : ACROSS];
    if (t != kNone && !slot_state_[t].fixed) sum += weight_[info.cells[p]];
  }
  return sum == 0 ? 1 : sum;
}

std::uint32_t Engine::Choose() const {
  std::uint32_t best = kNone;
  std::uint64_t best_count = 0;
  std::uint64_t best_degree = 1;
  for (std::uint32_t s = 0; s < slots_.size(); ++s) {
    const SlotState& state = slot_state_[s];
    if (state.fixed) continue;
    const std::uint64_t degree = WeightedDegree(s);
    if (best != kNone) {
      const std::uint64_t left = state.count * best_degree;
      const std::uint64_t right = best_count * degree;
      if (left > right || (left == right && rank_[s] >= rank_[best])) continue;
    }
    best = s;
    best_count = state.count;
    best_degree = degree;
  }
  return best;
}

SlotWord Engine::WordOf(std::uint32_t s, std::uint32_t id) const {
  const Lexicon& lexicon = *slots_[s].lexicon;
  return {std::string(lexicon.Word(id)), lexicon.Entry(id)};
}

void Engine::NoteBest() {
  if (fixed_ <= best_fixed_) return;
  best_fixed_ = fixed_;
  for (std::uint32_t s = 0; s < slots_.size(); ++s) {
    best_[s] = slot_state_[s].fixed ? OnlyWord(s) : kNone;
  }
}

RunEnd Engine::Dive(std::uint64_t budget) {
  decisions_.clear();
  std::uint64_t run_nodes = 0;
  for (;;) {
    const std::uint32_t s = Choose();
    if (s == kNone) return RunEnd::kFilled;
    if (result_.nodes % kCheckEvery == 0 && options_.stop &&
        options_.stop({result_.nodes, fixed_, slots_.size()})) {
      return RunEnd::kStopped;
    }
    if (options_.node_limit != 0 && result_.nodes >= options_.node_limit) {
      return RunEnd::kStopped;
    }
    if (run_nodes >= budget) return RunEnd::kRestart;
    ++result_.nodes;
    ++run_nodes;
    const std::uint32_t word = OnlyWord(s);
    decisions_.push_back({s, word, Here(), level_, fixed_});
    level_ = ++levels_;
    std::uint64_t* d = Domain(s);
    Save(s);
    const SlotState& state = slot_state_[s];
    std::fill(d + state.lo, d + state.hi, 0);
    d[word / 64] = std::uint64_t{1} << (word % 64);
    Enqueue(s);
    bool ok = Propagate();
    while (!ok) {
      if (decisions_.empty()) return RunEnd::kNoFill;
      const Decision back = decisions_.back();
      decisions_.pop_back();
      if (decisions_.empty()) refuted_.emplace_back(back.slot, back.word);
      Undo(back.mark);
      level_ = back.parent_level;
      fixed_ = back.fixed;
      Save(back.slot);
      Domain(back.slot)[back.word / 64] &=
          ~(std::uint64_t{1} << (back.word % 64));
      Enqueue(back.slot);
      ok = Propagate();
    }
    NoteBest();
  }
}

SearchResult Engine::Run() {
  try {
    return RunSearch();
  } catch (const StopRequested&) {
    result_.outcome = SearchOutcome::kStopped;
    result_.decisions.clear();
    for (std::uint32_t s = 0; s < slots_.size(); ++s) {
      result_.words[s].reset();
      if (best_[s] != kNone) result_.words[s] = WordOf(s, best_[s]);
    }
    return result_;
  }
}

SearchResult Engine::RunSearch() {
  const std::size_t n = slots_.size();
  result_.words.assign(result_.slots.size(), std::nullopt);
  if (!ready_) {
    result_.outcome = SearchOutcome::kNoFill;
    return result_;
  }
  level_ = ++levels_;
  for (std::uint32_t s = 0; s < n; ++s) Enqueue(s);
  if (!Propagate()) {
    result_.outcome = SearchOutcome::kNoFill;
    return result_;
  }
  Mark root = Here();
  const std::uint64_t root_level = level_;
  std::size_t root_fixed = fixed_;
  NoteBest();
  std::uint64_t budget = std::max<std::uint64_t>(options_.first_run_nodes, 1);
  for (;;) {
    // Each run changes the root state only at a level of its own, so that
    // undoing to the root mark restores the root state exactly, even after
    // the run removed words at its first level.
    level_ = ++levels_;
    for (std::uint64_t& rank : rank_) rank = SplitMix(prng_);
    refuted_.clear();
    const RunEnd end = Dive(budget);
    if (end == RunEnd::kRestart) {
      Undo(root);
      fixed_ = root_fixed;
      // A word the run refuted at its first level is in no fill at all:
      // it leaves the root state for good, and what follows from that is
      // propagated there too, so no later run proves it again.
      level_ = root_level;
      for (const auto& [slot, word] : refuted_) {
        Save(slot);
        Domain(slot)[word / 64] &= ~(std::uint64_t{1} << (word % 64));
        Enqueue(slot);
      }
      if (!Propagate()) {
        result_.outcome = SearchOutcome::kNoFill;
        return result_;
      }
      root = Here();
      root_fixed = fixed_;
      NoteBest();
      budget *= 2;
      continue;
    }
    if (end == RunEnd::kFilled) {
      result_.outcome = SearchOutcome::kFilled;
      for (std::uint32_t s = 0; s < n; ++s) {
        result_.words[s] = WordOf(s, OnlyWord(s));
      }
      for (const Decision& decision : decisions_) {
        result_.decisions.emplace_back(
            decision.slot, WordOf(decision.slot, decision.word).word);
      }
    } else if (end == RunEnd::kNoFill) {
      result_.outcome = SearchOutcome::kNoFill;
    } else {
      result_.outcome = SearchOutcome::kStopped;
      for (std::uint32_t s = 0; s < n; ++s) {
        if (best_[s] != kNone) result_.words[s] = WordOf(s, best_[s]);
      }
    }
    return result_;
  }
}

}  // namespace

SearchResult Search(const Grid& grid, WordLists& lists,
                    const SearchOptions& options) {
  Engine engine(grid, lists, options);
  return engine.Run();
}

}  // namespace polimreza
