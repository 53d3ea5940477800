#include "dictionary/corpus.h"

#include <unicode/brkiter.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <new>
#include <stdexcept>

#include "dictionary/word_key.h"
#include "grid/grid.h"

namespace polimreza {
namespace {

// A text without a blank is read at the latest when this much of it is held.
constexpr std::size_t kLongestHeld = std::size_t{1} << 20;

void ThrowOnFailure(UErrorCode status, const char* what) {
  if (status == U_MEMORY_ALLOCATION_ERROR) throw std::bad_alloc();
  if (U_FAILURE(status)) {
    throw std::runtime_error(std::string(what) + ": " + u_errorName(status));
  }
}

bool IsBlankByte(char c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' ||
         c == '\v';
}

}  // namespace

WordCounter::WordCounter(AlphabetKind alphabet, Folder& folder)
    : kind_(alphabet),
      alphabet_(alphabet),
      folder_(folder),
      keys_(1 << 16),
      counts_(1 << 16, 0) {
  UErrorCode status = U_ZERO_ERROR;
  words_iterator_.reset(
      icu::BreakIterator::createWordInstance(icu::Locale("sr"), status));
  ThrowOnFailure(status, "ICU BreakIterator");
}

WordCounter::~WordCounter() = default;

void WordCounter::Add(std::string_view piece) {
  pending_.append(piece);
  std::size_t cut = pending_.size();
  while (cut > 0 && !IsBlankByte(pending_[cut - 1])) --cut;
  if (cut == 0) {
    if (pending_.size() < kLongestHeld) return;
    // No blank at all: cut before the last character, which may be whole.
    cut = pending_.size();
    while (cut > 1 &&
           (static_cast<unsigned char>(pending_[cut - 1]) & 0xc0) == 0x80) {
      --cut;
    }
    --cut;
  }
  Read(std::string_view(pending_).substr(0, cut));
  pending_.erase(0, cut);
}

void WordCounter::EndText() {
  Read(pending_);
  pending_.clear();
}

std::string_view WordCounter::Clean(std::string_view text) {
  // Bad bytes go: the valid runs around them are joined.
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto length = static_cast<std::int32_t>(text.size());
  std::int32_t run = 0;
  bool skipped = false;
  for (std::int32_t i = 0; i < length;) {
    if (bytes[i] < 0x80) {
      ++i;
      continue;
    }
    const std::int32_t start = i;
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    if (c >= 0) continue;
    if (!skipped) clean_.clear();
    skipped = true;
    clean_.append(text.data() + run, static_cast<std::size_t>(start - run));
    invalid_bytes_ += static_cast<std::uint64_t>(i - start);
    run = i;
  }
  if (!skipped) return text;
  clean_.append(text.data() + run, static_cast<std::size_t>(length - run));
  return clean_;
}

void WordCounter::Read(std::string_view text) {
  text = Clean(text);
  if (text.empty()) return;

  UErrorCode status = U_ZERO_ERROR;
  UText* utext = utext_openUTF8(
      nullptr, text.data(), static_cast<std::int64_t>(text.size()), &status);
  ThrowOnFailure(status, "ICU UText");
  words_iterator_->setText(utext, status);
  if (U_FAILURE(status)) {
    utext_close(utext);
    ThrowOnFailure(status, "ICU BreakIterator");
  }
  try {
    std::int32_t start = words_iterator_->first();
    for (std::int32_t end = words_iterator_->next();
         end != icu::BreakIterator::DONE;
         start = end, end = words_iterator_->next()) {
      const std::int32_t rule = words_iterator_->getRuleStatus();
      if (rule >= UBRK_WORD_LETTER && rule < UBRK_WORD_LETTER_LIMIT) {
        CountWord(text.substr(static_cast<std::size_t>(start),
                              static_cast<std::size_t>(end - start)));
      }
    }
  } catch (...) {
    utext_close(utext);
    throw;
  }
  // The iterator keeps its own shallow copy: it is pointed at nothing before
  // the text goes.
  words_iterator_->setText(icu::UnicodeString());
  utext_close(utext);
}

void WordCounter::CountWord(std::string_view word) {
  word_.clear();
  if (kind_ == AlphabetKind::kAscii) {
    if (!folder_.FoldWord(word, word_)) return;
    for (char& c : word_) c = static_cast<char>(c - 'A' + 1);
  } else if (!alphabet_.AppendLetters(word, 1, word_)) {
    return;
  }
  if (word_.empty() || word_.size() > kMaxEntryLength) return;
  WordKey key;
  for (char c : word_) AppendCode(key, static_cast<std::uint8_t>(c));
  Increment(key);
}

void WordCounter::Increment(WordKey key) {
  ++words_;
  std::size_t mask = keys_.size() - 1;
  std::size_t slot = KeySlot(key, mask);
  while (!keys_[slot].empty() && keys_[slot] != key) slot = (slot + 1) & mask;
  if (keys_[slot] == key) {
    if (counts_[slot] < UINT32_MAX) ++counts_[slot];
    return;
  }
  if (2 * (used_ + 1) > keys_.size()) {
    Grow();
    mask = keys_.size() - 1;
    slot = KeySlot(key, mask);
    while (!keys_[slot].empty()) slot = (slot + 1) & mask;
  }
  keys_[slot] = key;
  counts_[slot] = 1;
  ++used_;
  sorted_.clear();
}

void WordCounter::Grow() {
  std::vector<WordKey> keys(keys_.size() * 2);
  std::vector<std::uint32_t> counts(counts_.size() * 2, 0);
  const std::size_t mask = keys.size() - 1;
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    if (keys_[i].empty()) continue;
    std::size_t slot = KeySlot(keys_[i], mask);
    while (!keys[slot].empty()) slot = (slot + 1) & mask;
    keys[slot] = keys_[i];
    counts[slot] = counts_[i];
  }
  keys_.swap(keys);
  counts_.swap(counts);
}

std::uint32_t WordCounter::Count(WordKey key) const {
  const std::size_t mask = keys_.size() - 1;
  for (std::size_t slot = KeySlot(key, mask);; slot = (slot + 1) & mask) {
    if (keys_[slot] == key) return counts_[slot];
    if (keys_[slot].empty()) return 0;
  }
}

int WordCounter::Score(WordKey key) const {
  const std::uint32_t count = Count(key);
  if (count == 0) return 0;
  if (sorted_.empty()) {
    sorted_.reserve(used_);
    for (std::size_t i = 0; i < keys_.size(); ++i) {
      if (!keys_[i].empty()) sorted_.push_back(counts_[i]);
    }
    std::sort(sorted_.begin(), sorted_.end());
  }
  const auto at_or_below = static_cast<std::uint64_t>(
      std::upper_bound(sorted_.begin(), sorted_.end(), count) -
      sorted_.begin());
  return static_cast<int>((100 * at_or_below + used_ - 1) / used_);
}

}  // namespace polimreza
