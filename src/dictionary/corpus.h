// Counting how often each word form stands in a text corpus, in the letters
// of an alphabet (ICU word boundaries, case folded, Latin and Cyrillic as the
// same letters), and the scores 0 to 100 the counts give.
#ifndef POLIMREZA_DICTIONARY_CORPUS_H_
#define POLIMREZA_DICTIONARY_CORPUS_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "alphabet/alphabet.h"
#include "dictionary/folding.h"
#include "dictionary/word_key.h"

U_NAMESPACE_BEGIN
class BreakIterator;
U_NAMESPACE_END

namespace polimreza {

// Counts the word forms of 1 to kMaxEntryLength letters in texts given piece by
// piece. A word is what ICU's word boundaries mark as letters; it is read in
// the alphabet as the lists read their words (ascii: folded to A-Z; a Serbian
// alphabet: its letters in either script), and a word holding anything else
// is not counted. Bytes that are not UTF-8 are skipped and counted.
class WordCounter {
 public:
  // Folds with `folder` (ascii), which must outlive the counter. Throws
  // std::runtime_error when ICU cannot start, std::bad_alloc when memory
  // runs out (here or in Add).
  WordCounter(AlphabetKind alphabet, Folder& folder);
  ~WordCounter();
  WordCounter(const WordCounter&) = delete;
  WordCounter& operator=(const WordCounter&) = delete;

  // Reads the next piece of the current text; pieces may be cut anywhere,
  // inside a word or a character.
  void Add(std::string_view piece);
  // Ends the current text: reads what Add held back.
  void EndText();

  // How many times the word `key` (see PackWord) was counted.
  std::uint32_t Count(WordKey key) const;
  // Words counted (every occurrence) and distinct forms among them.
  std::uint64_t words() const { return words_; }
  std::size_t forms() const { return used_; }
  std::uint64_t invalid_bytes() const { return invalid_bytes_; }

  // The score of the word `key`: 0 when it was never counted, else the
  // percentage of the counted forms counted no more often than it, rounded
  // up (1 to 100; the most frequent forms score 100).
  int Score(WordKey key) const;

 private:
  // Reads `text`, whose end is a word boundary.
  void Read(std::string_view text);
  // `text` without the bytes that are not UTF-8, which are counted.
  std::string_view Clean(std::string_view text);
  void CountWord(std::string_view word);
  void Increment(WordKey key);
  void Grow();

  AlphabetKind kind_;
  Alphabet alphabet_;
  Folder& folder_;
  std::unique_ptr<icu::BreakIterator> words_iterator_;
  std::string pending_;  // the tail of the pieces, not yet read
  std::string clean_;    // the text being read, without its bad bytes
  std::string word_;     // scratch for one word's letters
  // Open-addressing table: an empty key is a free place.
  std::vector<WordKey> keys_;
  std::vector<std::uint32_t> counts_;
  std::size_t used_ = 0;
  std::uint64_t words_ = 0;
  std::uint64_t invalid_bytes_ = 0;
  mutable std::vector<std::uint32_t> sorted_;  // every count, ascending
};

}  // namespace polimreza

#endif  // POLIMREZA_DICTIONARY_CORPUS_H_
