// Choice. The search picks the open slot with the smallest ratio of domain
// size to weighted degree (dom/wdeg: the failure counts of its cells whose
// crossing slot is still open), ties broken by a seeded random rank, then
// by the earlier slot. After the first run, ratios on the same power of two
// tie: with words always tried in list order, the ranks are what lets a
// restart look at the grid in another order instead of walking nearly the
// same branch again, and dom/wdeg is only a rough guide anyway. A
// tournament tree over the slots keeps that order: only the slots whose key
// changed since the last choice are replayed.
//
// A single square crossed by a longer slot goes after every other slot:
// its few words make its ratio the smallest of all, yet deciding it first
// only guesses a letter of the crossing word, which is decided with all its
// letters anyway, and once that word is down the square has its one word
// (in a skandinavka, whose single squares take any letter, always).

#include "search/slot_order.h"

#include <algorithm>
#include <bit>

#include "search/lexicon.h"

namespace polimreza {

namespace {

std::uint64_t SplitMix(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// count / degree on a scale of powers of two: the difference of their
// binary lengths, within one of log2(count / degree).
int RatioScale(std::uint64_t count, std::uint64_t degree) {
  return static_cast<int>(std::bit_width(count)) -
         static_cast<int>(std::bit_width(degree));
}

}  // namespace

void SlotOrder::Reset() {
  const std::size_t n = problem_.SlotCount();
  ResetWeights();
  rank_.assign(n, 0);
  degree_.assign(n, 0);
  follower_.assign(n, 0);
  for (std::uint32_t s = 0; s < n; ++s) {
    if (problem_.SlotAt(s).length != 1) continue;
    const std::uint32_t t =
        problem_.CellAt(problem_.CellOf(s, 0)).Other(s).slot;
    follower_[s] = t != kNone && problem_.SlotAt(t).length >= 2;
  }
  leaves_ = std::bit_ceil(std::max<std::size_t>(n, 1));
  tree_.assign(2 * leaves_, kNone);
}

// A weight counts in the degree of both slots through its cell.
void SlotOrder::AddWeight(std::uint32_t c) {
  assert(c < weight_.size());
  ++weight_[c];
  for (const Occurrence& in : problem_.CellAt(c).in) {
    if (in.slot != kNone) store_.NoteChanged(in.slot);
  }
}

void SlotOrder::NewRun(bool coarse, bool cells) {
  coarse_ = coarse;
  for (std::uint64_t& rank : rank_) rank = SplitMix(prng_);
  if (cells) {
    cell_rank_.resize(problem_.CellCount());
    for (std::uint64_t& rank : cell_rank_) rank = SplitMix(prng_);
  }
  store_.TakeChanged([](std::uint32_t) {});
  for (std::uint32_t s = 0; s < problem_.SlotCount(); ++s) Refresh(s);
  ReplayAll();
}

std::uint32_t SlotOrder::Choose() {
  refreshed_.clear();
  store_.TakeChanged([this](std::uint32_t s) {
    Refresh(s);
    refreshed_.push_back(s);
  });
  const std::size_t depth = static_cast<std::size_t>(std::countr_zero(leaves_));
  if (refreshed_.size() * depth >= leaves_) {
    ReplayAll();
  } else {
    for (std::uint32_t s : refreshed_) {
      for (std::size_t node = (leaves_ + s) / 2; node >= 1; node /= 2) {
        Replay(node);
      }
    }
  }
  assert(tree_[1] == kNone || !store_.State(tree_[1]).fixed);
  return tree_[1];
}

void SlotOrder::Refresh(std::uint32_t s) {
  const bool fixed = store_.State(s).fixed;
  degree_[s] = fixed ? 0 : WeightedDegree(s);
  tree_[leaves_ + s] = fixed ? kNone : s;
}

void SlotOrder::Replay(std::size_t node) {
  const std::uint32_t a = tree_[2 * node];
  const std::uint32_t b = tree_[2 * node + 1];
  tree_[node] = Before(b, a) ? b : a;
}

void SlotOrder::ReplayAll() {
  for (std::size_t node = leaves_ - 1; node >= 1; --node) Replay(node);
}

// Whether open slot `a` goes before slot `b`; everything goes before kNone.
bool SlotOrder::Before(std::uint32_t a, std::uint32_t b) const {
  if (a == kNone) return false;
  if (b == kNone) return true;
  if (follower_[a] != follower_[b]) return follower_[b];
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

std::uint64_t SlotOrder::WeightedDegree(std::uint32_t s) const {
  std::uint64_t sum = 0;
  for (unsigned p = 0; p < problem_.SlotAt(s).length; ++p) {
    const std::uint32_t c = problem_.CellOf(s, p);
    const std::uint32_t t = problem_.CellAt(c).Other(s).slot;
    if (t != kNone && !store_.State(t).fixed) sum += weight_[c];
  }
  return sum == 0 ? 1 : sum;
}

// The open cell with the fewest letters for the failures met there
// (dom/wdeg on cells), ties broken by the run's random rank.
std::uint32_t SlotOrder::ChooseCell() const {
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

// The letter that the most pairs of words agree on: the product of the
// words of each slot through the cell that have it there. It leaves the
// crossing slots the most words, so the run is least likely to fail below.
unsigned char SlotOrder::ChooseLetter(std::uint32_t c) const {
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

}  // namespace polimreza
