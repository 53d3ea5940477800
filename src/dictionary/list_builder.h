// Building the word lists (1 to kMaxEntryLength letters) from dictionary
// sources: sorting a dictionary's words by kind, merging the sources in order,
// the filters, the single letters, the scores, the list texts and the summary.
#ifndef POLIMREZA_DICTIONARY_LIST_BUILDER_H_
#define POLIMREZA_DICTIONARY_LIST_BUILDER_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "alphabet/alphabet.h"
#include "dictionary/corpus.h"
#include "dictionary/folding.h"
#include "dictionary/sources.h"
#include "dictionary/word_key.h"
#include "grid/grid.h"

namespace polimreza {

// The kinds of words, told by how a source spells them. A dictionary's or
// word file's words are ordered by the first four, in this order.
enum class WordKind {
  kOrdinary,      // no capital first letter
  kName,          // a capital first letter, a small letter after it
  kAbbreviation,  // capitals only, not a Roman numeral
  kNumeral,       // a Roman numeral in capitals (or beside one, in small)
  kClued,         // from a clued file or a folder of lists: never reordered
  kScored,        // from a scored list: never reordered
};
inline constexpr std::size_t kWordKinds = 6;

// The kind of `word` as a source wrote it (UTF-8), `letters` being the word
// folded to A-Z; never kClued. Capitals only make an abbreviation or a
// numeral even in one letter; a word in small letters is ordinary, whatever
// its letters.
WordKind ClassifySpelling(std::string_view word, std::string_view letters);

// Whether `letters` is a Roman numeral from I to MMMCMXCIX in capitals, in
// its one canonical form (IV, not IIII; XC, not LXL).
bool IsRomanNumeral(std::string_view letters);

enum class WordOrder {
  kTiers,   // each dictionary and word file by kind, then in its order
  kSource,  // every source in its own order
};

struct ListOptions {
  unsigned min_length = 1;
  unsigned max_length = kMaxEntryLength;
  std::optional<std::size_t> limit;  // entries kept per length
  bool proper_nouns = true;          // false: skip words written with a capital
  bool keep_clue_diacritics = false;
  bool letters = true;  // every letter of the alphabet gets an entry in 1.txt
  WordOrder order = WordOrder::kTiers;
  // ascii folds every word to A-Z and clues to ASCII (unless
  // keep_clue_diacritics); a Serbian alphabet keeps the words' letters,
  // written in its script, and the clues' diacritics, in the same script.
  AlphabetKind alphabet = AlphabetKind::kAscii;
  // Scores: with `scores` set every entry gets one, 0 to 100, the highest
  // of those its sources and the corpus give it (0 when none does); the
  // entries scoring below `min_score` are dropped and each list is ordered
  // by score, high first, then by kind (clued, ordinary and scored, names,
  // abbreviations, numerals; with kTiers only), then as merged.
  bool scores = false;
  int clued_score = 100;  // of every word of a clued source
  int min_score = 0;
  // Counts of a corpus whose Score gives each word's score; may be null.
  const WordCounter* corpus = nullptr;
};

// Why a source line gave no entry. A line counts under the first reason
// that applies, in this order.
enum class SkipReason {
  kEmpty,       // nothing on the line
  kCharacters,  // the word does not fold to letters A-Z only (with a Serbian
                // alphabet: is not made of its letters only)
  kLength,      // the word is outside the lengths kept
  kProperNoun,  // with proper_nouns off: the word starts with a capital
  kRepeated,    // the word has an entry already
  kLimit,       // the word's list is full
  kMinScore,    // the word scores below the least score kept
};
inline constexpr std::size_t kSkipReasons = 7;

struct ListSummary {
  // Entries per word length 1 to kMaxEntryLength.
  std::array<std::size_t, kMaxEntryLength> entries{};
  std::array<std::size_t, kSkipReasons> skipped{};
  std::size_t clues_filled = 0;  // repeated words whose clue was taken
  std::size_t from_sources = 0;  // entries not added as single letters
  std::array<std::size_t, kWordKinds> kinds{};  // of those entries
  AlphabetKind alphabet = AlphabetKind::kAscii;
  // Words a Serbian alphabet read by its rule for Latin D and Z-caron, L and
  // J, N and J (one letter each), with nothing saying they were meant so.
  std::size_t digraph_rule = 0;
  bool scores = false;  // the lists were ordered by score
};

// A scored line whose score is not a whole number 0 to 100.
struct BadScore {
  std::size_t line = 0;  // counted from 1
  std::string text;      // the score as the line writes it
};

class ListBuilder {
 public:
  // Folds with `folder`, which must outlive the builder (a folder remembers
  // what it folded, so one serves a whole run).
  ListBuilder(const ListOptions& options, Folder& folder);

  // Adds the entries of one source after those of the sources before it:
  // a clued source in its order, any other in the order options.order
  // asks for. Gives how many of its lines hold a word of 1 to
  // kMaxEntryLength letters of
  // the alphabet, whatever the filters then do with it.
  std::size_t AddSource(std::string_view text, SourceFormat format);

  // The first scored line of the sources added so far whose score is not 0
  // to 100; none when there is none (its source then gave no entry).
  const std::optional<BadScore>& bad_score() const { return bad_score_; }

  // The texts of the lists of words of 1 to kMaxEntryLength letters (those
  // past options.max_length empty): `WORD;clue` lines
  // ending in CR LF. Applies the limit and adds the single letters; fills
  // `summary`. With options.scores, and `scores` not null, also gives the
  // text of the scores file there: `WORD;SCORE;KIND` lines ending in CR LF,
  // list after list in the lists' order. Meant to be called once, after the
  // last source.
  std::array<std::string, kMaxEntryLength> Finish(
      ListSummary& summary, std::string* scores = nullptr);

 private:
  struct Entry {
    WordKey key;  // the word's letters (see PackWord)
    std::uint32_t clue_start;
    std::uint16_t clue_size;
    WordKind kind;
    std::int8_t score = -1;  // -1: no source scored the word
  };
  // A word of a dictionary or word file waiting for the end of its source,
  // which may still change its kind or order. Such sources have no clues.
  struct Pending {
    WordKey key;
    WordKind kind;
  };
  // The source line before the one being read, for a numeral written in
  // capitals and in small letters on neighbouring lines.
  struct Neighbour {
    WordKey key;  // empty: no word kept from that line
    bool small_numeral = false;
    bool capital_numeral = false;
  };

  void AddLine(std::string_view word, std::string_view clue,
               SourceFormat format, std::size_t& words);
  void Merge(WordKey key, std::string_view clue, WordKind kind, int score = -1);
  // Sets every entry's final score and gives the entries kept, in the
  // lists' order.
  std::vector<std::uint32_t> ScoredOrder();
  // Appends the scores file's line for `entry` to `out`.
  void AppendScoreLine(const Entry& entry, std::string& out) const;
  // The entry of the single letter `letter`: the one a source gave, or a
  // new one without a clue.
  Entry LetterEntry(Letter letter) const;
  void SetClue(Entry& entry, std::string_view clue);
  std::optional<std::size_t> Find(WordKey key) const;
  // The word `key` stands for, as the lists write it.
  void AppendWord(WordKey key, std::string& out) const;
  void Insert(WordKey key, std::size_t entry);

  ListOptions options_;
  Folder& folder_;
  Alphabet alphabet_;
  std::size_t digraph_rule_ = 0;
  std::vector<Letter> letters_;   // the word being read
  std::vector<Entry> entries_;    // in merged order
  std::vector<Pending> pending_;  // the current source's, in its order
  Neighbour previous_;
  std::vector<std::uint32_t> slots_;  // hash table of entry number + 1
  std::string clues_;                 // every entry's clue, one after another
  std::array<std::size_t, kSkipReasons> skipped_{};
  std::size_t clues_filled_ = 0;
  std::size_t line_ = 0;  // of the source being read
  std::optional<BadScore> bad_score_;
  bool scores_;       // options.scores, or a scored source was added
  std::string word_;  // scratch buffers reused for each line
  std::string clue_;
  std::string cleaned_;
  std::string word_text_;
};

// The run's summary in Serbian: entries per length and per kind, then the
// lines skipped for each reason.
std::string FormatSummary(const ListSummary& summary);

}  // namespace polimreza

#endif  // POLIMREZA_DICTIONARY_LIST_BUILDER_H_
