#include "wordlist/word_list.h"

#include <algorithm>
#include <limits>
#include <sstream>

#include "text/text_lines.h"

namespace polimreza {
namespace {

constexpr std::size_t kLetters = 256;

std::size_t HashBytes(std::string_view bytes) {
  // FNV-1a: short words, no need for anything stronger.
  std::uint64_t h = 1469598103934665603ull;
  for (char c : bytes) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211ull;
  }
  return static_cast<std::size_t>(h ^ (h >> 29));
}

// Reserving room for more than this is left to the text's own growth.
constexpr std::size_t kMaxReserve = std::size_t{1} << 30;

// Bytes from the read position of `in` to its end, leaving the position
// where it was; 0 when the stream cannot tell.
std::size_t BytesLeft(std::istream& in) {
  if (!in.good()) return 0;
  const std::istream::pos_type here = in.tellg();
  if (here == std::istream::pos_type(-1)) return 0;
  in.seekg(0, std::ios::end);
  const std::istream::pos_type end = in.tellg();
  in.clear();
  in.seekg(here);
  if (end == std::istream::pos_type(-1) || end < here) return 0;
  return static_cast<std::size_t>(end - here);
}

// False when `word` holds a NUL byte, '*' or '#': a word holding '*' or '#'
// would leave an empty square or plant a block. One pass over the word:
// find_first_of would look each byte up in the set by a call of its own.
bool IsWord(std::string_view word) {
  for (const char c : word) {
    if (c == '\0' || c == '*' || c == '#') return false;
  }
  return true;
}

}  // namespace

bool MatchPattern(std::string_view pattern, std::string_view word) {
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    char w = i < word.size() ? word[i] : '\0';
    if (pattern[i] != w && pattern[i] != '*') return false;
  }
  return true;
}

WordList::WordList(std::istream& in, unsigned length) : length_(length) {
  Read(in, nullptr);
}

WordList::WordList(std::istream& in, unsigned length, const WordEncoder& encode)
    : length_(length) {
  Read(in, &encode);
}

void WordList::Read(std::istream& in, const WordEncoder* encode) {
  // The entries' text is never longer than the list itself (codes take no
  // more bytes than the words they stand for): with room for all of it from
  // the start, the text is never copied as it grows.
  if (std::size_t bytes = BytesLeft(in); bytes <= kMaxReserve) {
    text_.reserve(bytes);
  }
  TextLineReader reader(in);
  std::string line;
  while (!reader.AtEnd()) {
    reader.ReadLine(line);
    if (line.empty()) continue;
    std::size_t semicolon = line.find(';');
    if (semicolon == std::string::npos) continue;
    std::string_view view(line);
    std::string_view clue = view.substr(semicolon + 1);
    std::string_view word = view.substr(0, semicolon);
    // An encoded word goes straight to the end of the text, where its entry
    // would start, and is taken back when the entry is skipped.
    const std::size_t start = text_.size();
    if (encode != nullptr) {
      if (!(*encode)(word, text_) || text_.size() == start) {
        text_.resize(start);
        continue;
      }
      word = std::string_view(text_).substr(start);
      // The encoded line is shorter than a line piece, so it is read whole:
      // a carriage return at its end stands just before its line feed.
      if (!clue.empty() && clue.back() == '\r') clue.remove_suffix(1);
    }
    const bool valid = word.size() == length_ && IsWord(word) &&
                       clue.find('\0') == std::string_view::npos;
    if (!valid) {
      text_.resize(start);
      continue;
    }
    // Entries are numbered and placed in 32 bits; a list beyond that ends.
    if (start + word.size() + clue.size() >
        std::numeric_limits<std::uint32_t>::max() - 1) {
      text_.resize(start);
      break;
    }
    if (encode == nullptr) text_.append(word);
    text_.append(clue);
    starts_.push_back(static_cast<std::uint32_t>(text_.size()));
  }
  BuildExactIndex();
}

std::string_view WordList::Word(std::size_t entry) const {
  return std::string_view(text_).substr(starts_[entry], length_);
}

std::string_view WordList::Clue(std::size_t entry) const {
  return std::string_view(text_).substr(
      starts_[entry] + length_, starts_[entry + 1] - starts_[entry] - length_);
}

std::size_t WordList::HashSlot(std::string_view word) const {
  return HashBytes(word) & (exact_.size() - 1);
}

void WordList::BuildExactIndex() {
  // At most three quarters full, so that probe runs stay short.
  std::size_t capacity = 8;
  while (capacity * 3 < size() * 4) capacity *= 2;
  exact_.assign(capacity, 0);
  for (std::size_t e = 0; e < size(); ++e) {
    std::string_view word = Word(e);
    for (std::size_t s = HashSlot(word);; s = (s + 1) & (capacity - 1)) {
      if (exact_[s] == 0) {
        exact_[s] = static_cast<std::uint32_t>(e + 1);
        break;
      }
      if (Word(exact_[s] - 1) == word) break;  // keep the first entry
    }
  }
}

void WordList::CountLetters() const {
  letter_starts_.assign(length_ * (kLetters + 1), 0);
  for (std::size_t e = 0; e < size(); ++e) {
    std::string_view word = Word(e);
    for (unsigned i = 0; i < length_; ++i) {
      ++letter_starts_[i * (kLetters + 1) +
                       static_cast<unsigned char>(word[i]) + 1];
    }
  }
  for (unsigned i = 0; i < length_; ++i) {
    std::uint32_t* counts = &letter_starts_[i * (kLetters + 1)];
    for (std::size_t b = 0; b < kLetters; ++b) counts[b + 1] += counts[b];
  }
  postings_.resize(length_);
}

const std::vector<std::uint32_t>& WordList::Postings(
    std::size_t position) const {
  std::vector<std::uint32_t>& postings = postings_[position];
  if (postings.empty()) {
    postings.resize(size());
    const std::uint32_t* counts = &letter_starts_[position * (kLetters + 1)];
    std::vector<std::uint32_t> next(counts, counts + kLetters);
    for (std::size_t e = 0; e < size(); ++e) {
      unsigned char byte = static_cast<unsigned char>(Word(e)[position]);
      postings[next[byte]++] = static_cast<std::uint32_t>(e);
    }
  }
  return postings;
}

std::optional<std::size_t> WordList::FindExact(std::string_view word) const {
  if (word.size() != length_) return std::nullopt;
  for (std::size_t s = HashSlot(word);; s = (s + 1) & (exact_.size() - 1)) {
    if (exact_[s] == 0) return std::nullopt;
    if (Word(exact_[s] - 1) == word) return exact_[s] - 1;
  }
}

std::optional<std::size_t> WordList::FindFrom(std::string_view pattern,
                                              std::size_t from) const {
  if (from >= size()) return std::nullopt;
  // Walk the entries that agree with the given letter of the pattern that
  // the fewest entries have; with no given letter every entry fits.
  bool given = false;
  std::size_t best = 0;
  std::uint32_t first = 0;
  std::uint32_t last = 0;
  for (std::size_t i = 0; i < pattern.size() && i < length_; ++i) {
    if (pattern[i] == '*') continue;
    if (letter_starts_.empty()) CountLetters();
    const std::uint32_t* counts = &letter_starts_[i * (kLetters + 1)];
    unsigned char byte = static_cast<unsigned char>(pattern[i]);
    if (!given || counts[byte + 1] - counts[byte] < last - first) {
      best = i;
      first = counts[byte];
      last = counts[byte + 1];
    }
    given = true;
  }
  if (!given) {
    for (std::size_t e = from; e < size(); ++e) {
      if (MatchPattern(pattern, Word(e))) return e;
    }
    return std::nullopt;
  }
  const std::vector<std::uint32_t>& postings = Postings(best);
  for (auto it = std::lower_bound(postings.begin() + first,
                                  postings.begin() + last, from);
       it != postings.begin() + last; ++it) {
    if (MatchPattern(pattern, Word(*it))) return *it;
  }
  return std::nullopt;
}

std::string ListFileName(unsigned length) {
  return std::to_string(length) + ".txt";
}

WordLists::WordLists(ListOpener opener) : opener_(std::move(opener)) {}

WordLists::WordLists(ListOpener opener, WordEncoder encode)
    : opener_(std::move(opener)), encode_(std::move(encode)) {}

const WordList* WordLists::List(std::size_t length) {
  if (length < 1 || length > lists_.size()) return nullptr;
  auto& list = lists_[length - 1];
  if (!list) {
    std::unique_ptr<std::istream> in =
        opener_ ? opener_(static_cast<unsigned>(length)) : nullptr;
    if (in && encode_) {
      list = std::make_unique<WordList>(*in, static_cast<unsigned>(length),
                                        encode_);
    } else if (in) {
      list = std::make_unique<WordList>(*in, static_cast<unsigned>(length));
    } else {
      std::istringstream none;
      list = std::make_unique<WordList>(none, static_cast<unsigned>(length));
    }
  }
  return list.get();
}

std::int64_t WordLists::FindWord(std::string_view pattern, std::string& wordOut,
                                 std::string& clueOut, std::int64_t from) {
  const WordList* list = List(pattern.size());
  if (list == nullptr || from < 0) return -1;
  std::optional<std::size_t> entry =
      list->FindFrom(pattern, static_cast<std::size_t>(from));
  if (!entry) return -1;
  wordOut.assign(list->Word(*entry));
  clueOut.assign(list->Clue(*entry));
  return static_cast<std::int64_t>(*entry) + 1;
}

std::optional<std::string_view> WordLists::FindClue(std::string_view word) {
  const WordList* list = List(word.size());
  if (list == nullptr) return std::nullopt;
  std::optional<std::size_t> entry = list->FindExact(word);
  if (!entry) return std::nullopt;
  return list->Clue(*entry);
}

}  // namespace polimreza
