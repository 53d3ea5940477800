#include "search/domain_store.h"

#include <algorithm>
#include <array>

namespace polimreza {

std::uint32_t DomainStore::Reset(const Problem& problem,
                                 const Problem::Tick& tick) {
  problem_ = &problem;
  const std::size_t n = problem.SlotCount();
  pool_.assign(problem.PoolSize(), 0);
  slots_.assign(n, SlotState());
  cells_.assign(problem.CellCount(), CellState());
  for (std::uint32_t c = 0; c < cells_.size(); ++c) {
    const std::int32_t given = problem.CellAt(c).given;
    if (given < 0) {
      cells_[c].set = LetterSet::All();
    } else {
      cells_[c].set.Add(static_cast<unsigned char>(given));
    }
  }
  trail_.clear();
  fixed_.clear();
  level_ = levels_ = 0;
  changed_.clear();
  changed_flag_.assign(n, 0);
  std::uint32_t first_empty = kNone;
  for (std::uint32_t s = 0; s < n; ++s) {
    if (InitialWords(s) == 0 && first_empty == kNone) first_empty = s;
    if (s % kSlotsPerTick == kSlotsPerTick - 1) tick(kSlotsPerTick);
  }
  return first_empty;
}

// Puts in the slot's bitset the words that fit its given letters; gives
// their count.
std::uint32_t DomainStore::InitialWords(std::uint32_t s) {
  const ProblemSlot& info = problem_->SlotAt(s);
  const Lexicon& lexicon = *info.lexicon;
  std::uint64_t* d = pool_.data() + info.domain;
  const std::size_t chunks = lexicon.Chunks();
  std::fill(d, d + chunks, ~std::uint64_t{0});
  if (lexicon.size() % 64 != 0) {
    d[chunks - 1] = (std::uint64_t{1} << (lexicon.size() % 64)) - 1;
  }
  bool given = false;
  for (unsigned p = 0; p < info.length; ++p) {
    const std::int32_t letter = problem_->CellAt(problem_->CellOf(s, p)).given;
    if (letter < 0) continue;
    given = true;
    const std::uint64_t* bits =
        lexicon.Bits(p, static_cast<unsigned char>(letter));
    for (std::size_t i = 0; i < chunks; ++i) d[i] &= bits ? bits[i] : 0;
  }
  SlotState& state = slots_[s];
  state.hi = static_cast<std::uint32_t>(chunks);
  state.count = static_cast<std::uint32_t>(lexicon.size());
  if (given) {
    state.count = 0;
    for (std::size_t i = 0; i < chunks; ++i) state.count += Ones(d[i]);
  }
  return state.count;
}

std::uint32_t DomainStore::FirstWord(std::uint32_t s) const {
  const std::uint64_t* d = Words(s);
  const SlotState& state = slots_[s];
  for (std::uint32_t i = state.lo; i < state.hi; ++i) {
    if (d[i] != 0) {
      return i * 64 + static_cast<std::uint32_t>(std::countr_zero(d[i]));
    }
  }
  return kNone;
}

void DomainStore::Fix(std::uint32_t s) {
  Save(s);
  assert(!slots_[s].fixed && slots_[s].count == 1);
  slots_[s].fixed = 1;
  fixed_.push_back(s);
  NoteFixedChanged(s);
}

// A slot's fixed flag counts in its own choice key and in the weighted
// degree of every slot crossing it.
void DomainStore::NoteFixedChanged(std::uint32_t s) {
  NoteChanged(s);
  const unsigned length = problem_->SlotAt(s).length;
  for (unsigned p = 0; p < length; ++p) {
    const std::uint32_t t =
        problem_->CellAt(problem_->CellOf(s, p)).Other(s).slot;
    if (t != kNone) NoteChanged(t);
  }
}

void DomainStore::Assign(std::uint32_t s, std::uint32_t word) {
  std::uint64_t* d = Edit(s);
  const SlotState& state = slots_[s];
  std::fill(d + state.lo, d + state.hi, 0);
  d[word / 64] = std::uint64_t{1} << (word % 64);
}

void DomainStore::Undo(const StoreMark& mark) {
  assert(mark.trail <= trail_.size() && mark.fixed <= fixed_.size());
  while (trail_.size() > mark.trail) {
    const std::uint64_t* tag = &trail_.back();
    const auto index = static_cast<std::uint32_t>(*tag >> 1);
    if (*tag & 1) {
      CellState& cell = cells_[index];
      std::copy(tag - 5, tag - 1, cell.set.bits.begin());
      cell.stamp = tag[-1];
      trail_.resize(trail_.size() - 6);
      continue;
    }
    SlotState saved;
    saved.lo = static_cast<std::uint32_t>(tag[-3]);
    saved.hi = static_cast<std::uint32_t>(tag[-3] >> 32);
    saved.count = static_cast<std::uint32_t>(tag[-2]);
    saved.fixed = static_cast<std::uint32_t>(tag[-2] >> 32);
    saved.stamp = tag[-1];
    const std::size_t chunks = saved.hi - saved.lo;
    std::copy(tag - 3 - chunks, tag - 3,
              pool_.data() + problem_->SlotAt(index).domain + saved.lo);
    SlotState& state = slots_[index];
    if (saved.fixed != state.fixed) {
      NoteFixedChanged(index);
    } else if (saved.count != state.count) {
      NoteChanged(index);
    }
    state = saved;
    trail_.resize(trail_.size() - 4 - chunks);
  }
  fixed_.resize(mark.fixed);
}

std::string DomainStore::CheckConsistent(bool no_repeats) const {
  std::vector<char> listed(slots_.size(), 0);
  for (std::uint32_t s : fixed_) {
    if (!slots_[s].fixed || listed[s]) {
      return "slot " + std::to_string(s) + ": listed as fixed wrongly";
    }
    listed[s] = 1;
  }
  for (std::uint32_t s = 0; s < slots_.size(); ++s) {
    if (slots_[s].fixed && !listed[s]) {
      return "slot " + std::to_string(s) + ": fixed but not listed";
    }
    std::string broken = CheckSlot(s, no_repeats);
    if (!broken.empty()) return "slot " + std::to_string(s) + ": " + broken;
  }
  return CheckTrail();
}

// One slot's invariants: bounds, count, fixed flag, every word agreeing
// with the cells' letters, every letter of an open cell supported by a word,
// and a single word of two or more letters in no other slot.
std::string DomainStore::CheckSlot(std::uint32_t s, bool no_repeats) const {
  const SlotState& state = slots_[s];
  const Lexicon& lexicon = *problem_->SlotAt(s).lexicon;
  const unsigned length = problem_->SlotAt(s).length;
  const std::uint64_t* d = Words(s);
  std::uint32_t count = 0;
  for (std::uint32_t i = 0; i < lexicon.Chunks(); ++i) {
    if ((i < state.lo || i >= state.hi) && d[i] != 0) return "outside bounds";
    count += Ones(d[i]);
  }
  if (state.hi > lexicon.Chunks() || state.lo > state.hi) return "bounds";
  if (count != state.count) return "count " + std::to_string(state.count);
  if (count == 0) return "no word left";
  if (state.fixed != (count == 1 ? 1u : 0u)) return "fixed flag";
  if (state.stamp > levels_) return "stamp of a level not opened";
  std::array<LetterSet, kMaxEntryLength> used{};
  for (std::uint32_t id = 0; id < lexicon.size(); ++id) {
    if (!Has(s, id)) continue;
    for (unsigned p = 0; p < length; ++p) {
      const unsigned char letter = lexicon.Letter(id, p);
      if (!cells_[problem_->CellOf(s, p)].set.Has(letter)) {
        return "word " + std::to_string(id) + " against its cell";
      }
      used[p].Add(letter);
    }
  }
  for (unsigned p = 0; p < length; ++p) {
    const LetterSet& set = cells_[problem_->CellOf(s, p)].set;
    if (set.Count() > 1 && (used[p] & set) != set) {
      return "a letter without support at " + std::to_string(p);
    }
  }
  if (!no_repeats || !state.fixed || length < 2) return {};
  const std::uint32_t word = FirstWord(s);
  for (std::uint32_t t : problem_->OfLength(length)) {
    if (t != s && Has(t, word))
      return "its word left in slot " + std::to_string(t);
  }
  return {};
}

// The trail parses, from its newest entry back to its start, into entries
// of real slots and cells with bounds inside their domains.
std::string DomainStore::CheckTrail() const {
  std::size_t end = trail_.size();
  while (end > 0) {
    const std::uint64_t tag = trail_[end - 1];
    const std::uint64_t index = tag >> 1;
    if (tag & 1) {
      if (index >= cells_.size() || end < 6) return "trail: a bad cell entry";
      end -= 6;
      continue;
    }
    if (index >= slots_.size() || end < 4) return "trail: a bad slot entry";
    const std::uint64_t lo = trail_[end - 4] & 0xFFFFFFFFu;
    const std::uint64_t hi = trail_[end - 4] >> 32;
    const std::size_t chunks =
        problem_->SlotAt(static_cast<std::uint32_t>(index)).lexicon->Chunks();
    if (lo > hi || hi > chunks || end < 4 + (hi - lo)) {
      return "trail: bad bounds in a slot entry";
    }
    end -= 4 + (hi - lo);
  }
  return {};
}

}  // namespace polimreza
