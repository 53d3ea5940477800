// The alphabet a fuzz input names with its first byte, and its patterns and
// word lists read through that alphabet as polimreza-fill reads them.
#ifndef POLIMREZA_FUZZ_FUZZ_ALPHABET_H_
#define POLIMREZA_FUZZ_FUZZ_ALPHABET_H_

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "alphabet/alphabet.h"
#include "fuzz/fuzz_model.h"
#include "grid/pattern_reader.h"
#include "wordlist/alphabet_lists.h"
#include "wordlist/word_list.h"

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

// How a run in `alphabet` writes list words: none in ascii (the words are
// read as they are), else the alphabet's encoder. `alphabet` must outlive it.
inline WordEncoder ListEncoder(const Alphabet& alphabet) {
  if (alphabet.kind() == AlphabetKind::kAscii) return WordEncoder();
  return AlphabetWordEncoder(
      std::shared_ptr<const Alphabet>(&alphabet, [](const Alphabet*) {}));
}

// The list text that reading `text` with ListEncoder(alphabet) stands for:
// `text` itself in ascii, else each line (as a reader cuts it) whose word
// the encoder takes, with the word written as codes, and no other line.
// Every converted word must be codes of the alphabet's letters that read
// back the same once written in either script.
inline std::string ReadListText(std::string_view text,
                                const Alphabet& alphabet) {
  if (alphabet.kind() == AlphabetKind::kAscii) return std::string(text);
  WordEncoder encode = ListEncoder(alphabet);
  std::string converted;
  for (const std::string& line : ModelLines(text)) {
    const std::size_t semicolon = line.find(';');
    if (semicolon == std::string::npos) continue;
    std::string codes;
    if (!encode(std::string_view(line).substr(0, semicolon), codes)) continue;
    FUZZ_CHECK(!codes.empty() && codes.size() <= semicolon);
    std::vector<Letter> letters;
    for (const char c : codes) {
      const auto code = static_cast<unsigned char>(c);
      FUZZ_CHECK(code >= kFirstLetterCode &&
                 code < kFirstLetterCode + alphabet.size());
      letters.push_back(static_cast<Letter>(code - kFirstLetterCode));
    }
    for (Script script : {Script::kLatin, Script::kCyrillic}) {
      FUZZ_CHECK(alphabet.Split(alphabet.Write(letters, script)).letters ==
                 letters);
    }
    converted += codes;
    converted.append(line, semicolon, std::string::npos);
    converted.push_back('\n');
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
