#include "alphabet/alphabet.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <new>
#include <stdexcept>

#include "alphabet/serbian_letters.h"

namespace polimreza {

namespace {

constexpr Letter kNoLetter = 255;

std::size_t SpellingIndex(Letter letter, Script script, DigraphForm form) {
  return static_cast<std::size_t>(letter) * 4 +
         (script == Script::kCyrillic ? 2 : 0) +
         (form == DigraphForm::kSingleCharacter ? 1 : 0);
}

void ThrowIfFailed(UErrorCode status, const char* what) {
  if (status == U_MEMORY_ALLOCATION_ERROR) throw std::bad_alloc();
  if (U_FAILURE(status)) {
    throw std::runtime_error(std::string(what) + ": " + u_errorName(status));
  }
}

bool IsMark(char32_t c) {
  return (U_GET_GC_MASK(static_cast<UChar32>(c)) & U_GC_M_MASK) != 0;
}

// A character of the text being split and where it came from.
struct CodePoint {
  char32_t value;
  std::size_t offset;  // where the character that gave it starts, in bytes
};

// Appends the characters of `text` (UTF-16) to `out`, all from `offset`.
void AppendCodePoints(const icu::UnicodeString& text, std::size_t offset,
                      std::vector<CodePoint>& out) {
  for (int32_t i = 0; i < text.length();) {
    const UChar32 c = text.char32At(i);
    out.push_back({static_cast<char32_t>(c), offset});
    i += U16_LENGTH(c);
  }
}

// The characters of `text`, or the offset of the first byte that is not
// UTF-8.
std::optional<std::size_t> Decode(std::string_view text,
                                  std::vector<CodePoint>& out) {
  return VisitUtf8(text, [&out](char32_t c, std::size_t start, std::size_t) {
    out.push_back({c, start});
  });
}

// `points` composed (NFC). Each stretch that composition may change (a
// character with the marks that follow it) is composed on its own; the
// characters of a stretch that changes all take its start as their offset.
std::vector<CodePoint> Compose(const icu::Normalizer2& nfc,
                               const std::vector<CodePoint>& points) {
  std::vector<CodePoint> out;
  out.reserve(points.size());
  for (std::size_t i = 0; i < points.size();) {
    std::size_t end = i + 1;
    while (end < points.size() &&
           !nfc.hasBoundaryBefore(static_cast<UChar32>(points[end].value))) {
      ++end;
    }
    icu::UnicodeString stretch;
    for (std::size_t k = i; k < end; ++k) {
      stretch.append(static_cast<UChar32>(points[k].value));
    }
    UErrorCode status = U_ZERO_ERROR;
    const bool normal = nfc.isNormalized(stretch, status);
    ThrowIfFailed(status, "ICU NFC");
    if (normal) {
      out.insert(out.end(), points.begin() + static_cast<std::ptrdiff_t>(i),
                 points.begin() + static_cast<std::ptrdiff_t>(end));
    } else {
      const icu::UnicodeString composed = nfc.normalize(stretch, status);
      ThrowIfFailed(status, "ICU NFC");
      AppendCodePoints(composed, points[i].offset, out);
    }
    i = end;
  }
  return out;
}

// `c` upper-cased by ICU's Serbian rules, appended to `out` with `offset`.
// Serbian has no casing that looks at the neighbouring characters, so each
// character is upper-cased alone.
void AppendUpper(char32_t c, std::size_t offset, std::vector<CodePoint>& out) {
  if (!u_hasBinaryProperty(static_cast<UChar32>(c),
                           UCHAR_CHANGES_WHEN_UPPERCASED)) {
    out.push_back({c, offset});
    return;
  }
  UChar source[U16_MAX_LENGTH];
  int32_t source_length = 0;
  U16_APPEND_UNSAFE(source, source_length, static_cast<UChar32>(c));
  UChar upper[16];
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length =
      u_strToUpper(upper, 16, source, source_length, "sr", &status);
  ThrowIfFailed(status, "ICU upper case");
  AppendCodePoints(icu::UnicodeString(upper, length), offset, out);
}

// The one character ICU upper-cases `c` to; `c` itself when it becomes
// several.
char32_t UpperOne(char32_t c) {
  std::vector<CodePoint> upper;
  AppendUpper(c, 0, upper);
  return upper.size() == 1 ? upper[0].value : c;
}

}  // namespace

std::size_t CharacterCount(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(
      text.begin(), text.end(),
      [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::optional<AlphabetKind> AlphabetNamed(std::string_view name) {
  for (AlphabetKind kind : {AlphabetKind::kAscii, AlphabetKind::kSerbianLatin,
                            AlphabetKind::kSerbianCyrillic}) {
    if (name == AlphabetName(kind)) return kind;
  }
  return std::nullopt;
}

std::string_view AlphabetName(AlphabetKind kind) {
  switch (kind) {
    case AlphabetKind::kAscii:
      return "ascii";
    case AlphabetKind::kSerbianLatin:
      return "sr-latn";
    case AlphabetKind::kSerbianCyrillic:
      return "sr-cyrl";
  }
  return "";
}

std::string DescribeSplitError(const SplitResult& result, AlphabetKind kind) {
  const std::string at = " na bajtu " + std::to_string(result.offset + 1);
  switch (result.error) {
    case SplitError::kNoError:
      return "";
    case SplitError::kInvalidUtf8:
      return "Tekst nije ispravan UTF-8" + at;
    case SplitError::kOutsideAlphabet:
      return "Znak" + at + " nije slovo alfabeta " +
             std::string(AlphabetName(kind));
    case SplitError::kStrayMark:
      return "Kombinujuci znak" + at + " ne stoji uz slovo";
    case SplitError::kMixedScripts:
      return "Latinica i cirilica su pomesane, na bajtu " +
             std::to_string(result.offset + 1);
  }
  return "";
}

Alphabet::Alphabet(AlphabetKind kind) : kind_(kind) {
  readings_.assign(kReadingsSize, Reading{kNoLetter, Script::kLatin});
  if (kind == AlphabetKind::kAscii) {
    size_ = 26;
    for (Letter letter = 0; letter < size_; ++letter) {
      const std::string spelling(1, static_cast<char>('A' + letter));
      for (int form = 0; form < 4; ++form) spellings_.push_back(spelling);
      readings_['A' + letter] = {letter, Script::kLatin};
    }
    return;
  }

  UErrorCode status = U_ZERO_ERROR;
  nfc_ = icu::Normalizer2::getNFCInstance(status);
  ThrowIfFailed(status, "ICU NFC");

  TableUpperCase();
  ReadSerbianLetters();
  TablePlainLetters();
}

// upper_, from ICU.
void Alphabet::TableUpperCase() {
  upper_.assign(kReadingsSize, 0);
  for (char32_t c = 0; c < kReadingsSize; ++c) {
    const char32_t upper = UpperOne(c);
    // A character that becomes several is left to ICU at each split.
    if (upper != c || !u_hasBinaryProperty(static_cast<UChar32>(c),
                                           UCHAR_CHANGES_WHEN_UPPERCASED)) {
      upper_[c] = upper;
    }
  }
}

// size_, the spellings and readings of the thirty letters in this
// alphabet's order, and the digraphs.
void Alphabet::ReadSerbianLetters() {
  // The letters in this alphabet's order, as places in kSerbian.
  size_ = kSerbian.size();
  std::array<std::size_t, kSerbian.size()> order;
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  if (kind_ == AlphabetKind::kSerbianCyrillic) {
    for (std::size_t i = 0; i < order.size(); ++i) {
      order[i] = static_cast<std::size_t>(
          std::find_if(kSerbian.begin(), kSerbian.end(),
                       [&](const SerbianLetter& serbian) {
                         return serbian.cyrillic == kCyrillicOrder[i];
                       }) -
          kSerbian.begin());
    }
  }

  for (std::size_t i = 0; i < order.size(); ++i) {
    const SerbianLetter& serbian = kSerbian[order[i]];
    const auto letter = static_cast<Letter>(i);
    std::string latin;
    AppendUtf8(serbian.latin, latin);
    if (serbian.latin_second != 0) {
      AppendUtf8(serbian.latin_second, latin);
      // Its two letters are known once every letter is read.
      digraphs_.push_back(
          {serbian.latin, serbian.latin_second, kNoLetter, kNoLetter, letter});
    } else {
      readings_[serbian.latin] = {letter, Script::kLatin};
    }
    std::string latin_single;
    AppendUtf8(serbian.latin_single, latin_single);
    readings_[serbian.latin_single] = {letter, Script::kLatin};
    std::string cyrillic;
    AppendUtf8(serbian.cyrillic, cyrillic);
    readings_[serbian.cyrillic] = {letter, Script::kCyrillic};
    spellings_.push_back(latin);
    spellings_.push_back(latin_single);
    spellings_.push_back(cyrillic);
    spellings_.push_back(cyrillic);
  }
  for (Digraph& digraph : digraphs_) {
    digraph.first = readings_[digraph.first_char].letter;
    digraph.second = readings_[digraph.second_char].letter;
  }
}

// plain_ and plain_readings_, once the letters are read.
void Alphabet::TablePlainLetters() {
  plain_.assign(kReadingsSize, 0);
  for (char32_t c = 0; c < kReadingsSize; ++c) {
    const char32_t upper = upper_[c];
    if (upper == 0 || upper >= kReadingsSize ||
        readings_[upper].letter == kNoLetter) {
      continue;
    }
    const auto code = static_cast<UChar32>(c);
    UErrorCode check = U_ZERO_ERROR;
    const bool normal =
        nfc_->isNormalized(icu::UnicodeString(code), check) && U_SUCCESS(check);
    if (normal && nfc_->getCombiningClass(code) == 0 &&
        nfc_->hasBoundaryBefore(code) && !IsMark(c)) {
      plain_[c] = upper;
    }
  }
  plain_readings_.assign(kReadingsSize, 0);
  for (char32_t c = 0; c < kReadingsSize; ++c) {
    const char32_t upper = plain_[c];
    if (upper == 0) continue;
    const Reading& reading = readings_[upper];
    auto entry = static_cast<std::uint8_t>(reading.letter + 1);
    if (reading.script == Script::kCyrillic) entry |= kPlainCyrillic;
    for (const Digraph& digraph : digraphs_) {
      if (upper == digraph.first_char) entry |= kPlainBeginsDigraph;
    }
    plain_readings_[c] = entry;
  }
}

Script Alphabet::script() const {
  return kind_ == AlphabetKind::kSerbianCyrillic ? Script::kCyrillic
                                                 : Script::kLatin;
}

std::optional<Alphabet::Reading> Alphabet::Read(char32_t c) const {
  if (c >= kReadingsSize || readings_[c].letter == kNoLetter) {
    return std::nullopt;
  }
  return readings_[c];
}

SplitResult Alphabet::SplitAscii(std::string_view text) const {
  SplitResult result;
  result.letters.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 'A' || c > 'Z') {
      result.letters.clear();
      result.error = SplitError::kOutsideAlphabet;
      result.offset = i;
      return result;
    }
    result.letters.push_back(static_cast<Letter>(c - 'A'));
  }
  return result;
}

std::size_t Alphabet::SplitPlain(std::string_view text, Letter* out,
                                 bool& used_digraph_rule) const {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  // Stores through `out` may alias anything, so the tables are read through
  // locals rather than members.
  const std::uint8_t* const readings = plain_readings_.data();
  const char32_t* const plain = plain_.data();
  const Digraph* const digraphs = digraphs_.data();
  const Digraph* const digraphs_end = digraphs + digraphs_.size();
  if (const std::size_t count = SplitCyrillic(text, out); count != kNotPlain) {
    return count;
  }
  std::size_t count = 0;
  // The script bit of the first letter; none before it.
  int script = -1;
  // The character before, while it may begin a digraph; 0 otherwise (and
  // after a digraph and after a zero width non-joiner).
  char32_t previous = 0;
  for (std::size_t i = 0; i < size;) {
    const unsigned char lead = bytes[i];
    char32_t c;
    if (lead < 0x80) {
      c = lead;
      i += 1;
    } else if (lead >= 0xC2 && lead < 0xE0 && i + 1 < size &&
               (bytes[i + 1] & 0xC0) == 0x80) {
      c = static_cast<char32_t>((lead & 0x1F) << 6 | (bytes[i + 1] & 0x3F));
      i += 2;
    } else if (text.substr(i, kZeroWidthNonJoiner.size()) ==
               kZeroWidthNonJoiner) {
      previous = 0;
      i += kZeroWidthNonJoiner.size();
      continue;
    } else {
      return kNotPlain;
    }
    if (c >= kReadingsSize) return kNotPlain;
    const std::uint8_t entry = readings[c];
    if (entry == 0) return kNotPlain;
    const int bit = entry & kPlainCyrillic;
    if (script != bit) {
      if (script >= 0) return kNotPlain;
      script = bit;
    }
    // No character both begins and ends a digraph, so joining a pair when
    // its second character comes is the same as joining it at its first.
    if (previous != 0) {
      const char32_t upper = plain[c];
      const Digraph* digraph = digraphs;
      while (digraph != digraphs_end && (previous != digraph->first_char ||
                                         upper != digraph->second_char)) {
        ++digraph;
      }
      if (digraph != digraphs_end) {
        out[count - 1] = digraph->joined;
        used_digraph_rule = true;
        previous = 0;
        continue;
      }
    }
    out[count++] = static_cast<Letter>((entry & (kPlainCyrillic - 1)) - 1);
    previous = (entry & kPlainBeginsDigraph) != 0 ? plain[c] : 0;
  }
  return count;
}

// Cyrillic letters are written with two bytes each: D0 or D1, then a
// continuation byte, together a character from U+0400 to U+047F. Words made
// of nothing else, the whole of a Cyrillic list, are read here a pair at a
// time; Cyrillic has no digraphs to join.
std::size_t Alphabet::SplitCyrillic(std::string_view text, Letter* out) const {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  if (size % 2 != 0) return kNotPlain;
  static_assert(kReadingsSize >= 0x480);
  const std::uint8_t* const readings = plain_readings_.data() + 0x400;
  for (std::size_t i = 0; i < size; i += 2) {
    const unsigned char lead = bytes[i];
    const unsigned char next = bytes[i + 1];
    if ((lead & 0xFE) != 0xD0 || (next & 0xC0) != 0x80) return kNotPlain;
    const std::uint8_t entry = readings[(lead & 1) << 6 | (next & 0x3F)];
    if ((entry & kPlainCyrillic) == 0) return kNotPlain;
    out[i / 2] = static_cast<Letter>((entry & (kPlainCyrillic - 1)) - 1);
  }
  return size / 2;
}

SplitResult Alphabet::Split(std::string_view utf8) const {
  if (kind_ == AlphabetKind::kAscii) return SplitAscii(utf8);

  SplitResult result;
  result.letters.resize(utf8.size());
  const std::size_t count =
      SplitPlain(utf8, result.letters.data(), result.used_digraph_rule);
  if (count != kNotPlain) {
    result.letters.resize(count);
    return result;
  }
  result = SplitResult();
  const auto refuse = [&result](SplitError error, std::size_t offset) {
    result.letters.clear();
    result.used_digraph_rule = false;
    result.error = error;
    result.offset = offset;
    return result;
  };

  std::vector<CodePoint> points;
  points.reserve(utf8.size());
  if (const auto bad = Decode(utf8, points)) {
    return refuse(SplitError::kInvalidUtf8, *bad);
  }
  UErrorCode status = U_ZERO_ERROR;
  const bool normal = nfc_->isNormalizedUTF8(
      icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())), status);
  ThrowIfFailed(status, "ICU NFC");
  if (!normal) points = Compose(*nfc_, points);
  for (std::size_t i = 0; i < points.size(); ++i) {
    const char32_t c = points[i].value;
    if (c < kReadingsSize && upper_[c] != 0) {
      points[i].value = upper_[c];
      continue;
    }
    // Rare: a character that may become several.
    std::vector<CodePoint> upper(
        points.begin(), points.begin() + static_cast<std::ptrdiff_t>(i));
    for (; i < points.size(); ++i) {
      AppendUpper(points[i].value, points[i].offset, upper);
    }
    points = std::move(upper);
  }

  std::optional<Script> script;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const char32_t c = points[i].value;
    if (c == kZwnj) continue;
    if (IsMark(c)) return refuse(SplitError::kStrayMark, points[i].offset);
    const std::optional<Reading> reading = Read(c);
    if (!reading) return refuse(SplitError::kOutsideAlphabet, points[i].offset);
    if (script && *script != reading->script) {
      return refuse(SplitError::kMixedScripts, points[i].offset);
    }
    script = reading->script;
    Letter letter = reading->letter;
    if (i + 1 < points.size()) {
      const char32_t next = points[i + 1].value;
      for (const Digraph& digraph : digraphs_) {
        if (c == digraph.first_char && next == digraph.second_char) {
          letter = digraph.joined;
          result.used_digraph_rule = true;
          ++i;
          break;
        }
      }
    }
    result.letters.push_back(letter);
  }
  return result;
}

bool Alphabet::AppendLetters(std::string_view utf8, unsigned char base,
                             std::string& out) const {
  if (kind_ == AlphabetKind::kAscii) {
    for (const char c : utf8) {
      if (c < 'A' || c > 'Z') return false;
    }
    const std::size_t start = out.size();
    out.append(utf8);
    for (std::size_t i = start; i < out.size(); ++i) {
      out[i] = static_cast<char>(out[i] - 'A' + base);
    }
    return true;
  }
  // A list word is a few letters long: room for it on the stack.
  std::array<Letter, 64> room;
  bool used_digraph_rule = false;
  const std::size_t count =
      utf8.size() <= room.size()
          ? SplitPlain(utf8, room.data(), used_digraph_rule)
          : kNotPlain;
  if (count != kNotPlain) {
    for (std::size_t i = 0; i < count; ++i) room[i] += base;
    out.append(reinterpret_cast<const char*>(room.data()), count);
    return true;
  }
  const SplitResult result = Split(utf8);
  for (const Letter letter : result.letters) {
    out.push_back(static_cast<char>(base + letter));
  }
  return result.ok();
}

std::string Alphabet::Write(std::span<const Letter> letters, Script script,
                            DigraphForm form) const {
  std::string out;
  out.reserve(letters.size() * 2);
  for (std::size_t i = 0; i < letters.size(); ++i) {
    if (i > 0 && script == Script::kLatin) {
      for (const Digraph& digraph : digraphs_) {
        if (letters[i - 1] == digraph.first && letters[i] == digraph.second) {
          out += kZeroWidthNonJoiner;
          break;
        }
      }
    }
    out += Spelling(letters[i], script, form);
  }
  return out;
}

std::string_view Alphabet::Spelling(Letter letter, Script script,
                                    DigraphForm form) const {
  return spellings_[SpellingIndex(letter, script, form)];
}

}  // namespace polimreza
