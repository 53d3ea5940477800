// The alphabets a crossword can be written in: their letters in order (a
// letter is its number, 0 to size() - 1), how UTF-8 text splits into letters
// and how each letter is written in the Latin and the Cyrillic script.
#ifndef POLIMREZA_ALPHABET_ALPHABET_H_
#define POLIMREZA_ALPHABET_ALPHABET_H_

#include <unicode/utf8.h>
#include <unicode/uversion.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

U_NAMESPACE_BEGIN
class Normalizer2;
U_NAMESPACE_END

namespace polimreza {

// A letter of an alphabet: its place in the alphabet's order.
using Letter = std::uint8_t;

// No alphabet has more letters, so a set of letters fits in 32 bits.
inline constexpr std::size_t kMaxAlphabetSize = 32;

// U+200C ZERO WIDTH NON-JOINER in UTF-8. In Serbian Latin it stands between
// D and Z-caron, L and J, N and J that are two letters, not one.
inline constexpr std::string_view kZeroWidthNonJoiner = "\xe2\x80\x8c";

enum class AlphabetKind {
  kAscii,            // A-Z, one byte a letter
  kSerbianLatin,     // the 30 Serbian letters in Latin order, written in Latin
  kSerbianCyrillic,  // the same letters in Cyrillic order, in Cyrillic
};

enum class Script { kLatin, kCyrillic };

// How the Latin letters DZ-caron, LJ and NJ are written: as the two
// characters people type, or as Unicode's one character for the digraph.
enum class DigraphForm { kTwoCharacters, kSingleCharacter };

// The alphabet named `name` on a command line ("ascii", "sr-latn",
// "sr-cyrl"); none for any other name.
std::optional<AlphabetKind> AlphabetNamed(std::string_view name);

std::string_view AlphabetName(AlphabetKind kind);

enum class SplitError {
  kNoError,
  kInvalidUtf8,      // the text is not UTF-8
  kOutsideAlphabet,  // a character that is no letter of the alphabet
  kStrayMark,        // a combining mark that joins no letter
  kMixedScripts,     // Latin and Cyrillic letters in one text
};

struct SplitResult {
  std::vector<Letter> letters;  // empty when the text is refused
  SplitError error = SplitError::kNoError;
  // Where the refused character starts, in bytes from the text's start (for
  // a character that a decomposed sequence composes to: where it starts).
  std::size_t offset = 0;
  // A Latin D and Z-caron, L and J or N and J were read as one letter,
  // with nothing saying they were meant so.
  bool used_digraph_rule = false;

  bool ok() const { return error == SplitError::kNoError; }
};

// Why `result` was refused, on one line without a line feed; the byte is
// counted from 1. Empty for a text that was split.
std::string DescribeSplitError(const SplitResult& result, AlphabetKind kind);

class Alphabet {
 public:
  explicit Alphabet(AlphabetKind kind);

  AlphabetKind kind() const { return kind_; }
  std::size_t size() const { return size_; }
  // The script the alphabet writes in when not told otherwise.
  Script script() const;

  // Splits `utf8` into letters. The ascii alphabet takes the bytes A-Z and
  // nothing else. The Serbian alphabets take either script (one text, one
  // script): the text is composed (NFC) and upper-cased first; in Latin, D
  // and Z-caron, L and J, N and J are one letter unless a zero width
  // non-joiner stands between them, which is read as nothing anywhere else.
  // Text that is not UTF-8 is refused before any of its characters is looked
  // at; otherwise the first character that is refused is the one reported.
  SplitResult Split(std::string_view utf8) const;

  // Appends Split's letters for `utf8` to `out`, each as the byte `base` +
  // letter; false, with `out` as it was, when Split refuses the text. Quick
  // for the words of a word list: it allocates nothing for a short word of
  // plain letters.
  bool AppendLetters(std::string_view utf8, unsigned char base,
                     std::string& out) const;

  // Writes `letters` in `script`, so that Split reads back the same letters:
  // a zero width non-joiner goes between a D and Z-caron, an L and J, an N and
  // J that are two letters. The ascii alphabet writes A-Z whatever `script`.
  std::string Write(std::span<const Letter> letters, Script script,
                    DigraphForm form = DigraphForm::kTwoCharacters) const;
  std::string Write(std::span<const Letter> letters) const {
    return Write(letters, script());
  }

  // How `letter` (below size()) is written on its own, upper-case, in UTF-8.
  std::string_view Spelling(
      Letter letter, Script script,
      DigraphForm form = DigraphForm::kTwoCharacters) const;
  // `letter` written in the alphabet's own script: its name.
  std::string_view Name(Letter letter) const {
    return Spelling(letter, script());
  }

 private:
  // What a character stands for: the letter, its script.
  struct Reading {
    Letter letter;
    Script script;
  };

  // The constructor's steps for a Serbian alphabet, in this order.
  void TableUpperCase();
  void ReadSerbianLetters();
  void TablePlainLetters();

  SplitResult SplitAscii(std::string_view text) const;
  // Splits text made of plain letters (each a character below
  // kReadingsSize that composition leaves alone, in one script, with zero
  // width non-joiners between them) as Split would, without ICU: writes the
  // letters to `out`, which has room for a letter per byte of `text`, sets
  // `used_digraph_rule` when Split would and gives the number of letters;
  // kNotPlain, with both to be dropped, for any other text.
  static constexpr std::size_t kNotPlain = ~std::size_t{0};
  std::size_t SplitPlain(std::string_view text, Letter* out,
                         bool& used_digraph_rule) const;
  // SplitPlain for text of Cyrillic letters only; kNotPlain for any other.
  std::size_t SplitCyrillic(std::string_view text, Letter* out) const;
  // The reading of the upper-case, composed character `c`; none for a
  // character that is no letter.
  std::optional<Reading> Read(char32_t c) const;

  AlphabetKind kind_;
  std::size_t size_;
  const icu::Normalizer2* nfc_ = nullptr;
  // Letter l's spelling in script s and form f is spellings_[l * 4 + s * 2 +
  // f].
  std::vector<std::string> spellings_;
  // readings_[c] for a character c below kReadingsSize; `letter` 255: none.
  static constexpr std::size_t kReadingsSize = 0x500;
  std::vector<Reading> readings_;
  // upper_[c]: the upper case of a character c below kReadingsSize, as ICU
  // gives it; 0 for one whose upper case is several characters (and for
  // everything in ascii, which does not upper-case).
  std::vector<char32_t> upper_;
  // plain_[c]: the upper case of a character c below kReadingsSize that
  // reads as a letter and that composition never joins to the character
  // before it; 0 for every other character.
  std::vector<char32_t> plain_;
  // plain_readings_[c] for a character c below kReadingsSize whose plain_
  // is not 0: its letter + 1, with kPlainCyrillic for a Cyrillic letter and
  // kPlainBeginsDigraph for one that may begin a digraph; 0 otherwise.
  static constexpr std::uint8_t kPlainCyrillic = 0x40;
  static constexpr std::uint8_t kPlainBeginsDigraph = 0x80;
  std::vector<std::uint8_t> plain_readings_;
  // The Latin pairs read as one letter (D and Z-caron, L and J, N and J):
  // their characters, their letters and the letter they make together.
  struct Digraph {
    char32_t first_char;
    char32_t second_char;
    Letter first;
    Letter second;
    Letter joined;
  };
  std::vector<Digraph> digraphs_;  // none in ascii
};

// The characters of the UTF-8 `text`: every byte but the continuation
// bytes, so that a byte that is not UTF-8 counts as one.
std::size_t CharacterCount(std::string_view text);

// Calls `visit(code_point, start, end)` for each character of `utf8` from byte
// `from` on, [start, end) being its bytes; stops at the first byte that is
// not UTF-8 and gives its offset, none when the text is UTF-8 to its end.
template <typename Visit>
std::optional<std::size_t> VisitUtf8(std::string_view utf8, Visit&& visit,
                                     std::size_t from = 0) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(utf8.data());
  const auto length = static_cast<std::int32_t>(utf8.size());
  for (auto i = static_cast<std::int32_t>(from); i < length;) {
    const std::int32_t start = i;
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) return static_cast<std::size_t>(start);
    visit(static_cast<char32_t>(c), static_cast<std::size_t>(start),
          static_cast<std::size_t>(i));
  }
  return std::nullopt;
}

}  // namespace polimreza

#endif  // POLIMREZA_ALPHABET_ALPHABET_H_
