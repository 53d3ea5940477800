#include "search/lexicon.h"

#include <algorithm>
#include <bit>
#include <optional>

namespace polimreza {

LetterSet LetterSet::All() {
  LetterSet all;
  all.bits.fill(~std::uint64_t{0});
  return all;
}

int LetterSet::Count() const {
  return static_cast<int>(Ones(bits[0]) + Ones(bits[1]) + Ones(bits[2]) +
                          Ones(bits[3]));
}

LetterSet LetterSet::operator&(const LetterSet& other) const {
  LetterSet result;
  for (unsigned k = 0; k < 4; ++k) result.bits[k] = bits[k] & other.bits[k];
  return result;
}

LetterSet LetterSet::Without(const LetterSet& other) const {
  LetterSet result;
  for (unsigned k = 0; k < 4; ++k) result.bits[k] = bits[k] & ~other.bits[k];
  return result;
}

Lexicon::Lexicon(const WordList& list,
                 const std::unordered_set<std::string>* excluded)
    : length_(list.WordLength() <= kMaxEntryLength ? list.WordLength() : 0),
      list_(&list) {
  // Only the first entry of a word counts: a later entry with the same word
  // would offer nothing new, and its clue is never shown.
  for (std::size_t e = 0; e < list.size(); ++e) {
    std::string_view word = list.Word(e);
    if (word.size() != length_ || list.FindExact(word) != e) continue;
    if (excluded && excluded->contains(std::string(word))) continue;
    entries_.push_back(static_cast<std::uint32_t>(e));
    letters_.insert(letters_.end(), word.begin(), word.end());
  }
  chunks_ = (entries_.size() + 63) / 64;
  for (std::size_t id = 0; id < entries_.size(); ++id) {
    for (unsigned p = 0; p < length_; ++p) {
      present_[p].Add(letters_[id * length_ + p]);
    }
  }
  index_.assign(std::size_t{length_} * 256, -1);
  for (unsigned p = 0; p < length_; ++p) {
    present_[p].ForEach([&](unsigned char letter) {
      index_[p * 256 + letter] = static_cast<std::int32_t>(letter_slots_++);
    });
  }
  // One pass over the words sets every bit.
  bits_.assign(letter_slots_ * chunks_, 0);
  for (std::size_t id = 0; id < entries_.size(); ++id) {
    for (unsigned p = 0; p < length_; ++p) {
      std::size_t k = static_cast<std::size_t>(
          index_[p * 256 + letters_[id * length_ + p]]);
      bits_[k * chunks_ + id / 64] |= std::uint64_t{1} << (id % 64);
    }
  }
}

std::uint32_t Lexicon::Find(std::string_view word) const {
  const std::optional<std::size_t> entry = list_->FindExact(word);
  if (!entry) return ~std::uint32_t{0};
  const auto at = std::lower_bound(entries_.begin(), entries_.end(), *entry);
  if (at == entries_.end() || *at != *entry) return ~std::uint32_t{0};
  return static_cast<std::uint32_t>(at - entries_.begin());
}

}  // namespace polimreza
