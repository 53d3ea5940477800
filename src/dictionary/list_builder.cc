#include "dictionary/list_builder.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <span>
#include <utility>

#include "alphabet/clue_script.h"
#include "dictionary/word_key.h"
#include "text/text_lines.h"
#include "wordlist/scores.h"

namespace polimreza {

namespace {

// The letters of `word` as a Roman numeral would spell them: the word in
// upper-case ASCII, or nothing when it is not in ASCII letters.
void NumeralLetters(std::string_view word, std::string& out) {
  out.clear();
  for (char c : word) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c < 'A' || c > 'Z') {
      out.clear();
      return;
    }
    out.push_back(c);
  }
}

bool IsCapital(UChar32 c) { return c >= 0 && (u_isupper(c) || u_istitle(c)); }

// Whether `word` (UTF-8, as the source wrote it) starts with a capital.
bool StartsWithCapital(std::string_view word) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(word.data());
  const auto length = static_cast<int32_t>(word.size());
  int32_t i = 0;
  UChar32 c;
  U8_NEXT(bytes, i, length, c);
  return IsCapital(c);
}

int NumeralValue(char letter) {
  switch (letter) {
    case 'I':
      return 1;
    case 'V':
      return 5;
    case 'X':
      return 10;
    case 'L':
      return 50;
    case 'C':
      return 100;
    case 'D':
      return 500;
    case 'M':
      return 1000;
  }
  return 0;
}

// `value` (1 to 3999) as a Roman numeral.
std::string RomanNumeral(int value) {
  static constexpr std::pair<int, std::string_view> kParts[] = {
      {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"},
      {90, "XC"},  {50, "L"},   {40, "XL"}, {10, "X"},   {9, "IX"},
      {5, "V"},    {4, "IV"},   {1, "I"}};
  std::string numeral;
  for (const auto& [part, letters] : kParts) {
    for (; value >= part; value -= part) numeral += letters;
  }
  return numeral;
}

}  // namespace

WordKind ClassifySpelling(std::string_view word, std::string_view letters) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(word.data());
  const auto length = static_cast<int32_t>(word.size());
  int32_t i = 0;
  UChar32 c;
  U8_NEXT(bytes, i, length, c);
  if (!IsCapital(c)) return WordKind::kOrdinary;
  // Serbian Latin writes the capitals Lj, Nj and Dz-caron as two
  // characters, which Cyrillic writes as one: the small one belongs to them.
  if (i < length) {
    int32_t next = i;
    UChar32 second;
    U8_NEXT(bytes, next, length, second);
    if (((c == 'L' || c == 'N') && second == 'j') ||
        (c == 'D' && second == 0x17e)) {
      i = next;
    }
  }
  while (i < length) {
    U8_NEXT(bytes, i, length, c);
    // A title-case letter such as Lj stands for a capital and a small one.
    if (c >= 0 && (u_islower(c) || u_istitle(c))) return WordKind::kName;
  }
  return IsRomanNumeral(letters) ? WordKind::kNumeral : WordKind::kAbbreviation;
}

bool IsRomanNumeral(std::string_view letters) {
  // Read leniently, then compared with the value's canonical spelling.
  if (letters.empty() || letters.size() > 15) return false;
  int value = 0;
  for (std::size_t i = 0; i < letters.size(); ++i) {
    const int letter = NumeralValue(letters[i]);
    if (letter == 0) return false;
    const bool subtracted =
        i + 1 < letters.size() && NumeralValue(letters[i + 1]) > letter;
    value += subtracted ? -letter : letter;
  }
  return value >= 1 && value <= 3999 && RomanNumeral(value) == letters;
}

ListBuilder::ListBuilder(const ListOptions& options, Folder& folder)
    : options_(options),
      folder_(folder),
      alphabet_(options.alphabet),
      slots_(1024, 0),
      scores_(options.scores) {}

void ListBuilder::AppendWord(WordKey key, std::string& out) const {
  const std::size_t length = KeyLength(key);
  std::array<Letter, kMaxEntryLength> letters{};
  for (std::size_t i = 0; i < length; ++i) {
    letters[i] = static_cast<Letter>(KeyLetter(key, length, i) - 1);
  }
  if (options_.alphabet == AlphabetKind::kAscii) {
    for (std::size_t i = 0; i < length; ++i) {
      out.push_back(static_cast<char>('A' + letters[i]));
    }
    return;
  }
  out += alphabet_.Write(std::span<const Letter>(letters.data(), length));
}

std::optional<std::size_t> ListBuilder::Find(WordKey key) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = KeySlot(key, mask);; slot = (slot + 1) & mask) {
    if (slots_[slot] == 0) return std::nullopt;
    if (entries_[slots_[slot] - 1].key == key) return slots_[slot] - 1;
  }
}

void ListBuilder::Insert(WordKey key, std::size_t entry) {
  if (2 * (entry + 1) > slots_.size()) {
    // Keeps the table at most half full.
    std::vector<std::uint32_t> old(slots_.size() * 2, 0);
    old.swap(slots_);
    for (std::uint32_t stored : old) {
      if (stored == 0) continue;
      const std::size_t mask = slots_.size() - 1;
      std::size_t slot = KeySlot(entries_[stored - 1].key, mask);
      while (slots_[slot] != 0) slot = (slot + 1) & mask;
      slots_[slot] = stored;
    }
  }
  const std::size_t mask = slots_.size() - 1;
  std::size_t slot = KeySlot(key, mask);
  while (slots_[slot] != 0) slot = (slot + 1) & mask;
  slots_[slot] = static_cast<std::uint32_t>(entry + 1);
}

void ListBuilder::SetClue(Entry& entry, std::string_view clue) {
  if (options_.alphabet != AlphabetKind::kAscii) {
    CleanClue(clue, cleaned_);
    ConvertClueScript(cleaned_, alphabet_.script(), clue_);
  } else if (options_.keep_clue_diacritics) {
    CleanClue(clue, clue_);
  } else {
    folder_.FoldClue(clue, clue_);
  }
  // Blanks that stood for control characters at either end go.
  const std::size_t first = clue_.find_first_not_of(' ');
  clue_.erase(0, first == std::string::npos ? clue_.size() : first);
  clue_.erase(clue_.find_last_not_of(' ') + 1);
  // A longer line would be read by the lists in pieces.
  word_text_.clear();
  AppendWord(entry.key, word_text_);
  TruncateClue(clue_, kMaxLinePiece - 1 - word_text_.size());
  entry.clue_start = static_cast<std::uint32_t>(clues_.size());
  entry.clue_size = static_cast<std::uint16_t>(clue_.size());
  clues_ += clue_;
}

void ListBuilder::AddLine(std::string_view word, std::string_view clue,
                          SourceFormat format, std::size_t& words) {
  const Neighbour previous = previous_;
  previous_ = {};
  ++line_;
  auto skip = [this](SkipReason reason) {
    ++skipped_[static_cast<std::size_t>(reason)];
  };
  if (word.empty() && clue.empty()) return skip(SkipReason::kEmpty);
  letters_.clear();
  if (options_.alphabet == AlphabetKind::kAscii) {
    if (!folder_.FoldWord(word, word_) || word_.empty()) {
      return skip(SkipReason::kCharacters);
    }
    for (char c : word_) letters_.push_back(static_cast<Letter>(c - 'A'));
  } else {
    SplitResult split = alphabet_.Split(word);
    if (!split.ok() || split.letters.empty()) {
      return skip(SkipReason::kCharacters);
    }
    if (split.used_digraph_rule) ++digraph_rule_;
    letters_ = std::move(split.letters);
    NumeralLetters(word, word_);
  }
  if (letters_.size() > kMaxEntryLength) return skip(SkipReason::kLength);
  ++words;
  if (letters_.size() < options_.min_length ||
      letters_.size() > options_.max_length) {
    return skip(SkipReason::kLength);
  }
  // The lists' own format is written in capitals: only the dictionary
  // formats tell proper nouns by them.
  if (!options_.proper_nouns && format != SourceFormat::kClued &&
      StartsWithCapital(word)) {
    return skip(SkipReason::kProperNoun);
  }
  const WordKey key = PackWord(letters_);
  if (format == SourceFormat::kClued) {
    return Merge(key, clue, WordKind::kClued, options_.clued_score);
  }
  if (format == SourceFormat::kScored) {
    if (clue.empty()) return Merge(key, {}, WordKind::kScored);
    const std::optional<int> score = ParseScore(clue);
    if (!score) {
      if (!bad_score_) bad_score_ = BadScore{line_, std::string(clue)};
      return;
    }
    return Merge(key, {}, WordKind::kScored, *score);
  }

  // A numeral written in small letters is an ordinary word (vi, mi), unless
  // the same numeral in capitals stands on the line before or after it, as
  // hunspell-sr writes every numeral it lists.
  WordKind kind = ClassifySpelling(word, word_);
  const bool small_numeral =
      kind == WordKind::kOrdinary && IsRomanNumeral(word_);
  if (previous.key == key) {
    if (small_numeral && previous.capital_numeral) kind = WordKind::kNumeral;
    if (kind == WordKind::kNumeral && previous.small_numeral) {
      pending_.back().kind = WordKind::kNumeral;
    }
  }
  pending_.push_back({key, kind});
  previous_ = {key, small_numeral && kind == WordKind::kOrdinary,
               kind == WordKind::kNumeral};
}

void ListBuilder::Merge(WordKey key, std::string_view clue, WordKind kind,
                        int score) {
  if (std::optional<std::size_t> found = Find(key)) {
    Entry& entry = entries_[*found];
    if (score > entry.score) entry.score = static_cast<std::int8_t>(score);
    if (entry.clue_size == 0 && !clue.empty()) {
      SetClue(entry, clue);
      if (entry.clue_size > 0) ++clues_filled_;
    }
    ++skipped_[static_cast<std::size_t>(SkipReason::kRepeated)];
    return;
  }
  entries_.push_back({key, 0, 0, kind, static_cast<std::int8_t>(score)});
  if (!clue.empty()) SetClue(entries_.back(), clue);
  Insert(key, entries_.size() - 1);
}

std::size_t ListBuilder::AddSource(std::string_view text, SourceFormat format) {
  std::size_t words = 0;
  previous_ = {};
  line_ = 0;
  if (format == SourceFormat::kScored) scores_ = true;
  ReadSource(
      text, format,
      [this, format, &words](std::string_view word, std::string_view clue) {
        AddLine(word, clue, format, words);
      });
  // Each kind in the source's order, the kinds in their order.
  const std::size_t passes =
      options_.order == WordOrder::kTiers
          ? static_cast<std::size_t>(WordKind::kNumeral) + 1
          : 1;
  for (std::size_t pass = 0; pass < passes; ++pass) {
    for (const Pending& word : pending_) {
      if (passes == 1 || static_cast<std::size_t>(word.kind) == pass) {
        // Roman numerals are Latin letters, not Cyrillic words.
        if (word.kind == WordKind::kNumeral &&
            options_.alphabet == AlphabetKind::kSerbianCyrillic) {
          ++skipped_[static_cast<std::size_t>(SkipReason::kCharacters)];
          continue;
        }
        Merge(word.key, {}, word.kind);
      }
    }
  }
  pending_.clear();
  return words;
}

namespace {

// Where a kind stands among equal scores.
int KindRank(WordKind kind) {
  switch (kind) {
    case WordKind::kClued:
      return 0;
    case WordKind::kOrdinary:
    case WordKind::kScored:
      return 1;
    case WordKind::kName:
      return 2;
    case WordKind::kAbbreviation:
      return 3;
    case WordKind::kNumeral:
      return 4;
  }
  return 4;
}

std::string_view KindName(WordKind kind) {
  switch (kind) {
    case WordKind::kOrdinary:
      return ScoredKindName(ScoredKind::kOrdinary);
    case WordKind::kName:
      return ScoredKindName(ScoredKind::kName);
    case WordKind::kAbbreviation:
      return ScoredKindName(ScoredKind::kAbbreviation);
    case WordKind::kNumeral:
      return ScoredKindName(ScoredKind::kNumeral);
    case WordKind::kClued:
      return ScoredKindName(ScoredKind::kClued);
    case WordKind::kScored:
      return ScoredKindName(ScoredKind::kScored);
  }
  return {};
}

}  // namespace

std::vector<std::uint32_t> ListBuilder::ScoredOrder() {
  std::vector<std::uint32_t> order;
  order.reserve(entries_.size());
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    Entry& entry = entries_[i];
    if (scores_) {
      int score = std::max<int>(entry.score, 0);
      if (options_.corpus) {
        score = std::max(score, options_.corpus->Score(entry.key));
      }
      entry.score = static_cast<std::int8_t>(score);
      if (score < options_.min_score) {
        ++skipped_[static_cast<std::size_t>(SkipReason::kMinScore)];
        continue;
      }
    }
    order.push_back(static_cast<std::uint32_t>(i));
  }
  if (!scores_) return order;
  const bool tiers = options_.order == WordOrder::kTiers;
  std::stable_sort(order.begin(), order.end(),
                   [this, tiers](std::uint32_t a, std::uint32_t b) {
                     const Entry& x = entries_[a];
                     const Entry& y = entries_[b];
                     if (x.score != y.score) return x.score > y.score;
                     return tiers && KindRank(x.kind) < KindRank(y.kind);
                   });
  return order;
}

void ListBuilder::AppendScoreLine(const Entry& entry, std::string& out) const {
  AppendWord(entry.key, out);
  out += ';' + std::to_string(std::max<int>(entry.score, 0)) + ';';
  out += KindName(entry.kind);
  out += "\r\n";
}

ListBuilder::Entry ListBuilder::LetterEntry(Letter letter) const {
  // A letter the limit left out keeps the clue a source gave it.
  const Letter one[] = {letter};
  const WordKey key = PackWord(one);
  if (const std::optional<std::size_t> found = Find(key)) {
    return entries_[*found];
  }
  Entry entry{key, 0, 0, WordKind::kOrdinary};
  if (scores_ && options_.corpus) {
    entry.score = static_cast<std::int8_t>(options_.corpus->Score(key));
  }
  return entry;
}

std::array<std::string, kMaxEntryLength> ListBuilder::Finish(
    ListSummary& summary, std::string* scores) {
  summary = {};
  std::array<std::string, kMaxEntryLength> lists;
  std::array<std::string, kMaxEntryLength> score_lines;
  const bool scoring = scores_ && scores != nullptr;
  std::array<bool, kMaxAlphabetSize> has_letter{};
  auto append = [&](const Entry& entry) {
    const std::size_t list_index = KeyList(entry.key);
    std::string& list = lists[list_index];
    if (KeyLength(entry.key) == 1) has_letter[entry.key.low - 1] = true;
    AppendWord(entry.key, list);
    list.push_back(';');
    list.append(clues_, entry.clue_start, entry.clue_size);
    list += "\r\n";
    ++summary.entries[list_index];
    if (scoring) AppendScoreLine(entry, score_lines[list_index]);
  };
  for (std::uint32_t index : ScoredOrder()) {
    const Entry& entry = entries_[index];
    if (options_.limit &&
        summary.entries[KeyList(entry.key)] >= *options_.limit) {
      ++skipped_[static_cast<std::size_t>(SkipReason::kLimit)];
      continue;
    }
    append(entry);
    ++summary.kinds[static_cast<std::size_t>(entry.kind)];
  }
  for (std::size_t count : summary.entries) summary.from_sources += count;
  if (options_.letters) {
    for (std::size_t letter = 0; letter < alphabet_.size(); ++letter) {
      if (!has_letter[letter]) append(LetterEntry(static_cast<Letter>(letter)));
    }
  }
  if (scoring) {
    scores->clear();
    for (const std::string& lines : score_lines) *scores += lines;
  }
  summary.skipped = skipped_;
  summary.clues_filled = clues_filled_;
  summary.alphabet = options_.alphabet;
  summary.digraph_rule = digraph_rule_;
  summary.scores = scores_;
  return lists;
}

std::string FormatSummary(const ListSummary& summary) {
  std::string text = "Broj reci po duzini:\n";
  std::size_t total = 0;
  // The lengths of Polimreza's lists, and any longer one up to the longest
  // word listed.
  std::size_t last = kMaxSlotLength;
  for (std::size_t length = last + 1; length <= kMaxEntryLength; ++length) {
    if (summary.entries[length - 1] != 0) last = length;
  }
  for (std::size_t length = 1; length <= last; ++length) {
    text += "  " + std::to_string(length) + ": " +
            std::to_string(summary.entries[length - 1]) + "\n";
    total += summary.entries[length - 1];
  }
  text += "  ukupno: " + std::to_string(total) + "\n";
  auto kind = [&summary](WordKind which) {
    return std::to_string(summary.kinds[static_cast<std::size_t>(which)]);
  };
  text += "Reci iz izvora po vrsti:\n";
  text += "  obicne reci: " + kind(WordKind::kOrdinary) + "\n";
  text += "  imena: " + kind(WordKind::kName) + "\n";
  text += "  skracenice: " + kind(WordKind::kAbbreviation) + "\n";
  text += "  rimski brojevi: " + kind(WordKind::kNumeral) + "\n";
  text += "  iz lista sa opisima: " + kind(WordKind::kClued) + "\n";
  if (summary.scores) {
    text += "  iz lista sa ocenama: " + kind(WordKind::kScored) + "\n";
  }
  auto skipped = [&summary](SkipReason reason) {
    return std::to_string(summary.skipped[static_cast<std::size_t>(reason)]);
  };
  text += "Preskoceni redovi:\n";
  text += "  prazni: " + skipped(SkipReason::kEmpty) + "\n";
  const bool ascii = summary.alphabet == AlphabetKind::kAscii;
  text += std::string(ascii ? "  znaci van A-Z: " : "  znaci van abecede: ") +
          skipped(SkipReason::kCharacters) + "\n";
  text += "  duzina van granica: " + skipped(SkipReason::kLength) + "\n";
  text += "  vlastita imena: " + skipped(SkipReason::kProperNoun) + "\n";
  text += "  ponovljene reci: " + skipped(SkipReason::kRepeated) +
          " (od toga dopunilo opis: " + std::to_string(summary.clues_filled) +
          ")\n";
  text += "  preko granice --limit: " + skipped(SkipReason::kLimit) + "\n";
  if (summary.scores) {
    text +=
        "  ocena ispod --min-score: " + skipped(SkipReason::kMinScore) + "\n";
  }
  if (!ascii) {
    text += "Reci procitane po pravilu za DZ, LJ i NJ (jedno slovo): " +
            std::to_string(summary.digraph_rule) + "\n";
  }
  return text;
}

}  // namespace polimreza
