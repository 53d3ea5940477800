// The alphabet a fuzz input names with its first byte, and its patterns and
// word lists read through that alphabet as polimreza-fill reads them.
#ifndef POLIMREZA_FUZZ_FUZZ_ALPHABET_H_
#define POLIMREZA_FUZZ_FUZZ_ALPHABET_H_

#include <algorithm>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "alphabet/alphabet.h"
#include "grid/pattern_reader.h"
#include "wordlist/alphabet_lists.h"
#include "fuzz/fuzz_model.h"

namespace polimreza::fuzz {

// The alphabet named by `byte` modulo 3: 0 ascii ('0' in a text seed), 1
// sr-latn ('1'), 2 sr-cyrl ('2'). Each is built once.
inline const Alphabet& AlphabetFromByte(std::uint8_t byte) {
  static const Alphabet ascii(AlphabetKind::kAscii);
  static const Alphabet latin(AlphabetKind::kSerbianLatin);
  static const Alphabet cyrillic(AlphabetKind::kSerbianCyrillic);
  switch (byte % 3) {
    case 0:
      return ascii;
    case 1:
      return latin;
    default:
      return cyrillic;
  }
}

// `text` as the lists of a run in `alphabet` are read: as it is in ascii,
// else with each word written as letter codes. Every converted word must be
// codes of the alphabet's letters that read back the same once written in
// either script.
inline std::string ReadListText(std::string_view text,
                                const Alphabet& alphabet) {
  if (alphabet.kind() == AlphabetKind::kAscii) return std::string(text);
  std::istringstream in{std::string(text)};
  const std::string converted = ConvertWordList(in, alphabet);
  std::istringstream lines(converted);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t semicolon = line.find(';');
    FUZZ_CHECK(semicolon != std::string::npos && semicolon > 0);
    std::vector<Letter> letters;
    for (std::size_t i = 0; i < semicolon; ++i) {
      const auto code = static_cast<unsigned char>(line[i]);
      FUZZ_CHECK(code >= kFirstLetterCode &&
                 code < kFirstLetterCode + alphabet.size());
      letters.push_back(static_cast<Letter>(code - kFirstLetterCode));
    }
    for (Script script : {Script::kLatin, Script::kCyrillic}) {
      FUZZ_CHECK(alphabet.Split(alphabet.Write(letters, script)).letters ==
                 letters);
    }
  }
  return converted;
}

// `pattern` ('*' for an open square, letters otherwise) as codes, as a
// pattern row is read in `alphabet`; none when a run of letters is refused.
inline std::optional<std::string> ReadPatternText(std::string_view pattern,
                                                  const Alphabet& alphabet) {
  if (alphabet.kind() == AlphabetKind::kAscii) return std::string(pattern);
  std::string out;
  for (std::size_t i = 0; i < pattern.size();) {
    if (pattern[i] == '*') {
      out.push_back('*');
      ++i;
      continue;
    }
    const std::size_t end = std::min(pattern.find('*', i), pattern.size());
    const SplitResult split = alphabet.Split(pattern.substr(i, end - i));
    if (!split.ok()) return std::nullopt;
    for (Letter letter : split.letters) {
      out.push_back(static_cast<char>(kFirstLetterCode + letter));
    }
    i = end;
  }
  return out;
}

}  // namespace polimreza::fuzz

#endif  // POLIMREZA_FUZZ_FUZZ_ALPHABET_H_
