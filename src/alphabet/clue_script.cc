#include "alphabet/clue_script.h"

#include <unicode/uchar.h>

#include <optional>

#include "alphabet/serbian_letters.h"

namespace polimreza {

namespace {

// The place in kSerbian of the letter whose upper-case Latin spelling starts
// with `upper`, `upper_next`; none for a character that is no Serbian Latin
// letter. A letter that is a pair is read when both characters are there.
std::optional<std::size_t> ReadLatin(char32_t upper, char32_t upper_next) {
  std::optional<std::size_t> single;
  for (std::size_t i = 0; i < kSerbian.size(); ++i) {
    const SerbianLetter& letter = kSerbian[i];
    if (letter.latin_second != 0) {
      if (upper == letter.latin_single) return i;
      if (upper == letter.latin && upper_next == letter.latin_second) return i;
    } else if (upper == letter.latin) {
      single = i;
    }
  }
  return single;
}

std::optional<std::size_t> ReadCyrillic(char32_t upper) {
  for (std::size_t i = 0; i < kSerbian.size(); ++i) {
    if (kSerbian[i].cyrillic == upper) return i;
  }
  return std::nullopt;
}

// Whether the letters `first` and `second` (places in kSerbian) are written
// in Latin as a pair that reads as one letter.
bool MakesLatinPair(std::size_t first, std::size_t second) {
  for (const SerbianLetter& letter : kSerbian) {
    if (letter.latin_second != 0 && kSerbian[first].latin == letter.latin &&
        kSerbian[first].latin_second == 0 &&
        kSerbian[second].latin == letter.latin_second &&
        kSerbian[second].latin_second == 0) {
      return true;
    }
  }
  return false;
}

char32_t Upper(char32_t c) {
  return static_cast<char32_t>(u_toupper(static_cast<UChar32>(c)));
}

char32_t Lower(char32_t c) {
  return static_cast<char32_t>(u_tolower(static_cast<UChar32>(c)));
}

}  // namespace

void ConvertClueScript(std::string_view text, Script script, std::string& out) {
  out.clear();
  // Characters; a byte that is not UTF-8 is kept as 0x110000 plus the byte.
  constexpr char32_t kRawByte = 0x110000;
  std::u32string chars;
  const auto push = [&chars](char32_t c, std::size_t, std::size_t) {
    chars.push_back(c);
  };
  std::optional<std::size_t> bad = VisitUtf8(text, push);
  while (bad) {
    chars.push_back(kRawByte + static_cast<unsigned char>(text[*bad]));
    bad = VisitUtf8(text, push, *bad + 1);
  }
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const char32_t c = chars[i];
    const char32_t next = i + 1 < chars.size() ? chars[i + 1] : 0;
    if (c >= kRawByte) {
      out.push_back(static_cast<char>(c - kRawByte));
      continue;
    }
    // Title case (Lj) counts as upper case: the letter starts a word.
    const bool upper = Upper(c) != Lower(c) && c != Lower(c);
    if (script == Script::kCyrillic) {
      if (c == kZwnj) continue;
      const std::optional<std::size_t> place =
          next < kRawByte ? ReadLatin(Upper(c), Upper(next))
                          : ReadLatin(Upper(c), 0);
      if (!place) {
        AppendUtf8(c, out);
        continue;
      }
      const SerbianLetter& letter = kSerbian[*place];
      AppendUtf8(upper ? letter.cyrillic : Lower(letter.cyrillic), out);
      if (letter.latin_second != 0 && Upper(c) == letter.latin) ++i;
      continue;
    }
    const std::optional<std::size_t> place = ReadCyrillic(Upper(c));
    if (!place) {
      AppendUtf8(c, out);
      continue;
    }
    const SerbianLetter& letter = kSerbian[*place];
    AppendUtf8(upper ? letter.latin : Lower(letter.latin), out);
    if (letter.latin_second != 0) {
      // An upper-case pair is all upper case before another upper-case
      // letter, else only its first character is (Ljubav, LJUBAV).
      const bool all_upper = upper && next != 0 && next < kRawByte &&
                             u_isupper(static_cast<UChar32>(next));
      AppendUtf8(all_upper ? letter.latin_second : Lower(letter.latin_second),
                 out);
    }
    if (next != 0 && next < kRawByte) {
      if (const auto following = ReadCyrillic(Upper(next));
          following && MakesLatinPair(*place, *following)) {
        AppendUtf8(kZwnj, out);
      }
    }
  }
}

}  // namespace polimreza
