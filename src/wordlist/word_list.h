// The word lists: one list of entries (word and clue) per slot length, read
// once into memory in file order, with indexes for exact lookups and for
// pattern searches that resume where the last one stopped.
#ifndef POLIMREZA_WORDLIST_WORD_LIST_H_
#define POLIMREZA_WORDLIST_WORD_LIST_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "grid/grid.h"

namespace polimreza {

// True when `word` fits `pattern`: at every position of the pattern, the
// pattern holds '*' or the word's byte. Only the pattern's positions are
// compared (a position past the word's end compares as NUL).
bool MatchPattern(std::string_view pattern, std::string_view word);

// Appends to `codes` the bytes that stand for the list word `word`, never
// more bytes than `word` has and none of them ';', CR or LF; false when
// `word` is no word (what it appended is then dropped).
using WordEncoder =
    std::function<bool(std::string_view word, std::string& codes)>;

// The valid entries of one list file, all of whose words are `length` bytes.
class WordList {
 public:
  // Reads the entries of the list of words of `length` bytes from `in`.
  // Lines that are not valid entries are skipped as if absent: a line
  // without ';', one holding a NUL byte, one whose word (the text before the
  // first ';') is not `length` bytes long or holds '*' or '#'.
  WordList(std::istream& in, unsigned length);

  // Reads the list from `in` with each line's word (the text before its
  // first ';') written by `encode`, as if `in` held each line that `encode`
  // takes with its word replaced by the codes and the lines it refuses (or
  // writes as nothing) left out; the same lines are then skipped as above.
  WordList(std::istream& in, unsigned length, const WordEncoder& encode);

  unsigned WordLength() const { return length_; }
  std::size_t size() const { return starts_.size() - 1; }
  std::string_view Word(std::size_t entry) const;
  std::string_view Clue(std::size_t entry) const;

  // The first entry at or after `from` whose word fits `pattern` (a pattern
  // of this list's length); none when no later entry fits.
  std::optional<std::size_t> FindFrom(std::string_view pattern,
                                      std::size_t from) const;

  // The first entry whose word is exactly `word`; none when absent.
  std::optional<std::size_t> FindExact(std::string_view word) const;

 private:
  void Read(std::istream& in, const WordEncoder* encode);
  void BuildExactIndex();
  void CountLetters() const;
  const std::vector<std::uint32_t>& Postings(std::size_t position) const;
  std::size_t HashSlot(std::string_view word) const;

  unsigned length_;
  std::string text_;  // word and clue of each entry, entry after entry
  // Entry e is text_[starts_[e], starts_[e + 1]): its word, then its clue.
  std::vector<std::uint32_t> starts_ = {0};
  // Open-addressing hash table of entry number + 1 (0: free), holding the
  // first entry of each distinct word.
  std::vector<std::uint32_t> exact_;
  // Letter postings, made on demand: a list that only answers exact
  // lookups needs none, and a search uses one position's postings only.
  // `letter_starts_[position * 257 + byte]` counts the entries with a byte
  // below `byte` at `position` (made by the first search with a given
  // letter); `postings_[position]` lists the entries in that order, so the
  // entries with `byte` at `position` are ascending in it from
  // letter_starts_[position * 257 + byte] to the next count (made by the
  // first search that walks that position).
  mutable std::vector<std::uint32_t> letter_starts_;
  mutable std::vector<std::vector<std::uint32_t>> postings_;
};

// The file name of the list of words of `length` letters: "1.txt",
// "2.txt" and so on.
std::string ListFileName(unsigned length);

// Gives the text of the list of words of `length` bytes, or null when the
// list is missing or cannot be read.
using ListOpener =
    std::function<std::unique_ptr<std::istream>(unsigned length)>;

// The lists of every length a slot may have, each read on first use.
class WordLists {
 public:
  explicit WordLists(ListOpener opener);
  // The lists `opener` opens, each line's word written by `encode` as
  // WordList reads it.
  WordLists(ListOpener opener, WordEncoder encode);

  // The list of words of `length` bytes (1 to kMaxEntryLength); null for
  // other lengths.
  const WordList* List(std::size_t length);

  // Finds the next entry fitting `pattern` from the resume position `from`
  // (0 for a new search), filling `wordOut` and `clueOut`. Gives the resume
  // position for the following call, or -1 when no further entry fits (the
  // outputs are then unchanged).
  std::int64_t FindWord(std::string_view pattern, std::string& wordOut,
                        std::string& clueOut, std::int64_t from);

  // The clue of the first entry whose word is exactly `word`; none when the
  // word is not in the list of its length.
  std::optional<std::string_view> FindClue(std::string_view word);

 private:
  ListOpener opener_;
  WordEncoder encode_;  // none: the words are read as they are
  std::array<std::unique_ptr<WordList>, kMaxEntryLength> lists_;
};

}  // namespace polimreza

#endif  // POLIMREZA_WORDLIST_WORD_LIST_H_
