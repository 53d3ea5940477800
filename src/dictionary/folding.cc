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

}  // namespace

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
