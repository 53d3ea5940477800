// Arc consistency over the domain store: revising a slot (its count, the
// letters its words support, the cells that narrows), filtering a slot by a
// cell, keeping words from repeating and weak words from crossing; beside
// each rule stands why it loses no fill.

#include "search/propagator.h"

#include <bit>
#include <cassert>
#include <string>

namespace polimreza {

namespace {

// Slot revisions between two questions to the caller's stop during one
// propagation: only a huge grid takes that many at once.
constexpr std::uint64_t kRevisionsPerCheck = std::uint64_t{1} << 16;

// A domain with at most one word per this many chunks of its span has its
// letters read word by word: a handful of words costs less to read than one
// scan of the span per letter, which is what finding supports costs.
constexpr std::uint32_t kChunksPerWordToRead = 4;

}  // namespace

void Propagator::Reset() {
  residues_.assign(problem_.ResidueCount(), 0);
  queued_.assign(problem_.SlotCount(), 0);
}

void Propagator::Enqueue(std::uint32_t s) {
  if (queued_[s]) return;
  queued_[s] = 1;
  queue_.push_back(s);
}

void Propagator::EnqueueAll() {
  for (std::uint32_t s = 0; s < problem_.SlotCount(); ++s) Enqueue(s);
}

void Propagator::Refute(std::uint32_t s, std::uint32_t word) {
  if (store_.RemoveWord(s, word)) Enqueue(s);
}

// A letter leaves its cell only before the next revision (see Propagate),
// since leaving a cell filters both slots through it and may fail.
void Propagator::Refute(const Literal& literal) {
  if (literal.IsLetter()) {
    pending_.emplace_back(literal.Cell(), literal.Letter());
  } else {
    Refute(literal.Slot(), literal.Word());
  }
}

bool Propagator::RemoveLetter(std::uint32_t c, unsigned char letter) {
  LetterSet gone;
  gone.Add(letter);
  return NarrowCell(c, store_.Letters(c).Without(gone));
}

// Narrowing a cell, by a decision, a refutation or its slot `except`'s
// supports (see NarrowCells): its letters outside `keep` leave it, and
// each slot through it but `except` is filtered. False when a slot is left
// empty, or the cell is in a slot but `except` and is left empty.
bool Propagator::NarrowCell(std::uint32_t c, const LetterSet& keep,
                            std::uint32_t except) {
  const LetterSet current = store_.Letters(c);
  const LetterSet kept = keep & current;
  if (kept == current) return true;
  const LetterSet removed = current.Without(kept);
  store_.SetLetters(c, kept);
  nogoods_.WakeCell(c, kept, *this);
  for (const Occurrence& in : problem_.CellAt(c).in) {
    if (in.slot == kNone || in.slot == except) continue;
    if (kept.Empty() || !Filter(in.slot, in.position, kept, removed)) {
      wiped_ = in.slot;
      order_.AddWeight(c);
      return false;
    }
  }
  return true;
}

bool Propagator::Propagate() {
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
    if (++revisions_ % kRevisionsPerCheck == 0 && stop_asked_()) {
      throw StopRequested();
    }
    ok = Revise(s);
  }
  ClearQueue();
  assert(queue_.empty() && pending_.empty());
  if (ok && options_.check_state) {
    std::string broken = store_.CheckConsistent(!options_.allow_repeats);
    if (broken.empty() && weak_.On()) broken = weak_.Check(problem_, store_);
    options_.check_state(broken);
  }
  return ok;
}

void Propagator::ClearQueue() {
  for (std::size_t k = queue_head_; k < queue_.size(); ++k) {
    queued_[queue_[k]] = 0;
  }
  queue_.clear();
  queue_head_ = 0;
  pending_.clear();
}

bool Propagator::Revise(std::uint32_t s) {
  const std::uint32_t count = TrimAndCount(s);
  if (count == 0) {
    wiped_ = s;
    Fail(s);
    return false;
  }
  if (count == 1 && !store_.State(s).fixed) FixSlot(s);
  if (weak_.On() && weak_.OnlyWeak(problem_, store_, s)) {
    ForbidWeakCrossings(s);
  }
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
std::uint32_t Propagator::TrimAndCount(std::uint32_t s) {
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
void Propagator::FixSlot(std::uint32_t s) {
  store_.Fix(s);
  const std::uint32_t word = store_.FirstWord(s);
  nogoods_.Wake(Literal::OfWord(s, word), *this);
  const unsigned length = problem_.SlotAt(s).length;
  if (options_.allow_repeats || length < 2) return;
  for (std::uint32_t t : problem_.OfLength(length)) {
    if (t != s) Refute(t, word);
  }
}

// No weak crossings. When every word left in a slot is weak, every fill
// agreeing with the state has a weak word there, so a slot crossing it can
// hold no weak word: the weak words leave each crossing slot's domain (one
// pass over its chunks against the lexicon's weak marks), and a slot left
// with none fails on its revision. This is arc consistency for "not both
// weak" between two crossing slots: a weak word of one has a support in the
// other exactly while the other has a word that is not weak. Lists ordered
// by score hold their strong words first, so telling that a slot still has
// one mostly reads its first chunks only. A slot is revised after every
// change of its domain, so the rule applies as soon as the slot is left with
// weak words only, and again on its later revisions, at the cost of a pass
// over the crossing slots' chunks, which lose nothing more. Every slot of a
// fill is revised with one word left on the way to it, whether decided by
// words or by letters, on the walk back or with the witness taken whole, so
// no fill the search reaches has two weak words crossing.
void Propagator::ForbidWeakCrossings(std::uint32_t s) {
  const unsigned length = problem_.SlotAt(s).length;
  for (unsigned p = 0; p < length; ++p) {
    const std::uint32_t t =
        problem_.CellAt(problem_.CellOf(s, p)).Other(s).slot;
    if (t == kNone) continue;
    const std::uint64_t* weak = weak_.Of(problem_.SlotAt(t).length);
    if (weak == nullptr) continue;
    const SlotState& state = store_.State(t);
    const std::uint64_t* d = store_.Words(t);
    std::uint32_t i = state.lo;
    while (i < state.hi && (d[i] & weak[i]) == 0) ++i;
    if (i == state.hi) continue;
    std::uint64_t* edit = store_.Edit(t);
    for (; i < state.hi; ++i) edit[i] &= ~weak[i];
    Enqueue(t);
  }
}

OpenPositions Propagator::OpenAt(std::uint32_t s) const {
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
Supports Propagator::ReadLetters(std::uint32_t s,
                                 const OpenPositions& open) const {
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
Supports Propagator::FindSupports(std::uint32_t s, const OpenPositions& open) {
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

void Propagator::ListNonzeroChunks(std::uint32_t s) {
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
bool Propagator::NarrowCells(std::uint32_t s, const OpenPositions& open,
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
bool Propagator::Filter(std::uint32_t t, unsigned position,
                        const LetterSet& keep, const LetterSet& removed) {
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

void Propagator::Fail(std::uint32_t s) {
  for (unsigned p = 0; p < problem_.SlotAt(s).length; ++p) {
    order_.AddWeight(problem_.CellOf(s, p));
  }
}

}  // namespace polimreza
