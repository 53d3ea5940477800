#include "dictionary/folding.h"

#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <new>
#include <optional>
#include <stdexcept>
#include <utility>

namespace polimreza {

namespace {

// Serbian Cyrillic to Latin first (with ICU's general Cyrillic transform for
// any other Cyrillic letter), then the Serbian spelling of d-stroke, which
// Latin-ASCII would make a plain D; Latin-ASCII then drops the remaining
// accents (c-caron to c, dz-caron to dz) and spells other letters in ASCII;
// combining marks that stand alone are dropped last.
constexpr char kRules[] =
    "::sr-sr_Latn/BGN;"
    "::Cyrillic-Latin;"
    "\\u0111 > dj;"
    "\\u0110 > Dj;"
    "::Latin-ASCII;"
    "[:Nonspacing Mark:] > ;";

// Marks a character without an ASCII spelling (no spelling holds a byte
// above 127).
const std::string kNoSpelling = "\xff";

bool IsAsciiLetter(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsControlByte(unsigned char c) { return c < 0x20 || c == 0x7f; }

bool IsPlainAscii(std::string_view text) {
  for (unsigned char c : text) {
    if (c >= 0x80) return false;
  }
  return true;
}

// The Serbian letters in both scripts, both cases.
struct SerbianLetter {
  std::u32string_view latin_upper;
  std::u32string_view latin_lower;
  char32_t cyrillic_upper;
  char32_t cyrillic_lower;
};

constexpr SerbianLetter kSerbianLetters[] = {
    {U"A", U"a", U'\u0410', U'\u0430'},
    {U"B", U"b", U'\u0411', U'\u0431'},
    {U"C", U"c", U'\u0426', U'\u0446'},
    {U"\u010c", U"\u010d", U'\u0427', U'\u0447'},
    {U"\u0106", U"\u0107", U'\u040b', U'\u045b'},
    {U"D", U"d", U'\u0414', U'\u0434'},
    {U"D\u017d", U"d\u017e", U'\u040f', U'\u045f'},
    {U"\u0110", U"\u0111", U'\u0402', U'\u0452'},
    {U"E", U"e", U'\u0415', U'\u0435'},
    {U"F", U"f", U'\u0424', U'\u0444'},
    {U"G", U"g", U'\u0413', U'\u0433'},
    {U"H", U"h", U'\u0425', U'\u0445'},
    {U"I", U"i", U'\u0418', U'\u0438'},
    {U"J", U"j", U'\u0408', U'\u0458'},
    {U"K", U"k", U'\u041a', U'\u043a'},
    {U"L", U"l", U'\u041b', U'\u043b'},
    {U"LJ", U"lj", U'\u0409', U'\u0459'},
    {U"M", U"m", U'\u041c', U'\u043c'},
    {U"N", U"n", U'\u041d', U'\u043d'},
    {U"NJ", U"nj", U'\u040a', U'\u045a'},
    {U"O", U"o", U'\u041e', U'\u043e'},
    {U"P", U"p", U'\u041f', U'\u043f'},
    {U"R", U"r", U'\u0420', U'\u0440'},
    {U"S", U"s", U'\u0421', U'\u0441'},
    {U"\u0160", U"\u0161", U'\u0428', U'\u0448'},
    {U"T", U"t", U'\u0422', U'\u0442'},
    {U"U", U"u", U'\u0423', U'\u0443'},
    {U"V", U"v", U'\u0412', U'\u0432'},
    {U"Z", U"z", U'\u0417', U'\u0437'},
    {U"\u017d", U"\u017e", U'\u0416', U'\u0436'},
};

constexpr char32_t kNonJoiner = 0x200c;

void AppendUtf8(char32_t c, std::string& out) {
  char bytes[U8_MAX_LENGTH];
  int32_t length = 0;
  UBool error = false;
  U8_APPEND(reinterpret_cast<uint8_t*>(bytes), length, U8_MAX_LENGTH,
            static_cast<UChar32>(c), error);
  if (!error) out.append(bytes, static_cast<std::size_t>(length));
}

// The Serbian letter a Latin text starting with `c`, `next` stands for, and
// whether it is upper-case; none when `c` is no Serbian Latin letter.
std::optional<std::pair<const SerbianLetter*, bool>> ReadLatin(char32_t c,
                                                               char32_t next) {
  const SerbianLetter* single = nullptr;
  bool upper = false;
  for (const SerbianLetter& letter : kSerbianLetters) {
    for (bool is_upper : {true, false}) {
      const std::u32string_view spelling =
          is_upper ? letter.latin_upper : letter.latin_lower;
      if (spelling[0] != c) continue;
      if (spelling.size() == 2) {
        // The second character of a digraph in either case (Lj, LJ, lj).
        const std::u32string_view other =
            is_upper ? letter.latin_lower : letter.latin_upper;
        if (next == spelling[1] || next == other[1]) {
          return std::pair{&letter, is_upper};
        }
      } else {
        single = &letter;
        upper = is_upper;
      }
    }
  }
  if (single == nullptr) return std::nullopt;
  return std::pair{single, upper};
}

// Whether the Cyrillic `first` and `second` are two letters that Latin
// writes as a digraph.
bool MakesLatinDigraph(char32_t first, char32_t second) {
  const char32_t a = u_toupper(static_cast<UChar32>(first));
  const char32_t b = u_toupper(static_cast<UChar32>(second));
  return (a == 0x0414 && b == 0x0416) ||                 // D, Z-caron
         ((a == 0x041b || a == 0x041d) && b == 0x0408);  // L or N, J
}

}  // namespace

void ConvertClueScript(std::string_view clue, Script script, std::string& out) {
  out.clear();
  std::u32string text;
  const auto* bytes = reinterpret_cast<const uint8_t*>(clue.data());
  const auto length = static_cast<int32_t>(clue.size());
  for (int32_t i = 0; i < length;) {
    const int32_t start = i;
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) {
      // Not UTF-8: the bytes pass as they are, marked for the copy below.
      text.push_back(static_cast<char32_t>(0x110000 + (bytes[start] & 0xff)));
      i = start + 1;
      continue;
    }
    text.push_back(static_cast<char32_t>(c));
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    const char32_t next = i + 1 < text.size() ? text[i + 1] : 0;
    if (c >= 0x110000) {
      out.push_back(static_cast<char>(c - 0x110000));
      continue;
    }
    if (script == Script::kCyrillic) {
      if (c == kNonJoiner) continue;
      if (auto read = ReadLatin(c, next)) {
        const auto [letter, upper] = *read;
        AppendUtf8(upper ? letter->cyrillic_upper : letter->cyrillic_lower,
                   out);
        const std::u32string_view spelling = letter->latin_upper;
        i += spelling.size() - 1;
        continue;
      }
      AppendUtf8(c, out);
      continue;
    }
    const SerbianLetter* found = nullptr;
    bool upper = false;
    for (const SerbianLetter& letter : kSerbianLetters) {
      if (letter.cyrillic_upper == c || letter.cyrillic_lower == c) {
        found = &letter;
        upper = letter.cyrillic_upper == c;
        break;
      }
    }
    if (found == nullptr) {
      AppendUtf8(c, out);
      continue;
    }
    const std::u32string_view spelling =
        upper ? found->latin_upper : found->latin_lower;
    AppendUtf8(spelling[0], out);
    if (spelling.size() == 2) {
      // An upper-case digraph is all upper case before another upper-case
      // letter, else only its first character is (Ljubav, LJUBAV).
      const bool all_upper =
          upper && next != 0 && u_isupper(static_cast<UChar32>(next));
      AppendUtf8(all_upper || !upper ? spelling[1] : found->latin_lower[1],
                 out);
    }
    if (MakesLatinDigraph(c, next)) AppendUtf8(kNonJoiner, out);
  }
}

Folder::Folder() {
  UErrorCode status = U_ZERO_ERROR;
  nfc_ = icu::Normalizer2::getNFCInstance(status);
  if (U_FAILURE(status)) {
    throw std::runtime_error(std::string("ICU NFC: ") + u_errorName(status));
  }
}

Folder::~Folder() = default;

std::string_view Folder::Composed(std::string_view text) {
  UErrorCode status = U_ZERO_ERROR;
  icu::StringPiece piece(text.data(), static_cast<int32_t>(text.size()));
  const bool normal = nfc_->isNormalizedUTF8(piece, status);
  if (status == U_MEMORY_ALLOCATION_ERROR) throw std::bad_alloc();
  if (normal || U_FAILURE(status)) return text;
  composed_.clear();
  icu::StringByteSink<std::string> sink(&composed_);
  nfc_->normalizeUTF8(0, piece, sink, nullptr, status);
  if (status == U_MEMORY_ALLOCATION_ERROR) throw std::bad_alloc();
  if (U_FAILURE(status)) return text;
  return composed_;
}

const std::string* Folder::Spell(int code_point) {
  auto found = spellings_.find(code_point);
  if (found != spellings_.end()) {
    return found->second == kNoSpelling ? nullptr : &found->second;
  }
  if (!transliterator_) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError error;
    transliterator_.reset(icu::Transliterator::createFromRules(
        "polimreza-fold", icu::UnicodeString(kRules, -1, US_INV),
        UTRANS_FORWARD, error, status));
    if (U_FAILURE(status) || !transliterator_) {
      throw std::runtime_error(std::string("ICU transliterator: ") +
                               u_errorName(status));
    }
  }
  icu::UnicodeString text(static_cast<UChar32>(code_point));
  transliterator_->transliterate(text);
  std::string spelling;
  text.toUTF8String(spelling);
  if (!IsPlainAscii(spelling)) spelling = kNoSpelling;
  auto inserted = spellings_.emplace(code_point, std::move(spelling)).first;
  return inserted->second == kNoSpelling ? nullptr : &inserted->second;
}

bool Folder::FoldWord(std::string_view word, std::string& out) {
  out.clear();
  bool ascii = true;
  for (unsigned char c : word) {
    if (IsAsciiLetter(c)) {
      out.push_back(AsciiUpper(static_cast<char>(c)));
    } else if (c < 0x80) {
      return false;
    } else {
      ascii = false;
      break;
    }
  }
  if (ascii) return true;

  out.clear();
  const std::string_view text = Composed(word);
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const auto length = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < length;) {
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) return false;
    if (c < 0x80) {
      if (!IsAsciiLetter(static_cast<unsigned char>(c))) return false;
      out.push_back(AsciiUpper(static_cast<char>(c)));
      continue;
    }
    const std::string* spelling = Spell(c);
    if (spelling == nullptr) return false;
    for (char s : *spelling) {
      if (!IsAsciiLetter(static_cast<unsigned char>(s))) return false;
      out.push_back(AsciiUpper(s));
    }
  }
  return true;
}

void Folder::FoldClue(std::string_view clue, std::string& out) {
  out.clear();
  if (IsPlainAscii(clue)) {
    for (char c : clue) {
      out.push_back(IsControlByte(static_cast<unsigned char>(c)) ? ' ' : c);
    }
    return;
  }
  const std::string_view text = Composed(clue);
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const auto length = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < length;) {
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) {
      out.push_back('?');
    } else if (u_iscntrl(c)) {
      out.push_back(' ');
    } else if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (const std::string* spelling = Spell(c); spelling == nullptr) {
      out.push_back('?');
    } else if (spelling->size() > 1 && u_isupper(c)) {
      // An upper-case letter spelt with several (LJ, DJ): all upper case
      // before another upper-case letter, else only the first.
      UChar32 next = -1;
      if (i < length) {
        int32_t j = i;
        U8_NEXT(bytes, j, length, next);
      }
      const bool all_upper = next >= 0 && u_isupper(next);
      out.push_back(AsciiUpper((*spelling)[0]));
      for (std::size_t k = 1; k < spelling->size(); ++k) {
        out.push_back(all_upper ? AsciiUpper((*spelling)[k])
                                : AsciiLower((*spelling)[k]));
      }
    } else {
      out += *spelling;
    }
  }
}

void CleanClue(std::string_view clue, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < clue.size(); ++i) {
    const auto c = static_cast<unsigned char>(clue[i]);
    if (IsControlByte(c)) {
      out.push_back(' ');
    } else if (c == 0xc2 && i + 1 < clue.size() &&
               static_cast<unsigned char>(clue[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(clue[i + 1]) <= 0x9f) {
      out.push_back(' ');  // U+0080 to U+009F, the C1 controls
      ++i;
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
}

void TruncateClue(std::string& clue, std::size_t limit) {
  if (clue.size() <= limit) return;
  std::size_t end = limit;
  // Back to the first byte of the character that would be cut.
  while (end > 0 && (static_cast<unsigned char>(clue[end]) & 0xc0) == 0x80) {
    --end;
  }
  clue.resize(end);
}

}  // namespace polimreza
