#include "wordlist/alphabet_lists.h"

#include <string>
#include <string_view>

#include "text/text_lines.h"

namespace polimreza {

WordEncoder AlphabetWordEncoder(std::shared_ptr<const Alphabet> alphabet) {
  return [alphabet = std::move(alphabet)](std::string_view word,
                                          std::string& codes) {
    // A word of no letter (a lone zero width non-joiner) is no word.
    const std::size_t before = codes.size();
    return alphabet->AppendLetters(word, kFirstLetterCode, codes) &&
           codes.size() != before;
  };
}

std::unordered_set<std::string> ReadWordSet(std::istream& in,
                                            const Alphabet& alphabet) {
  TextLineReader reader(in);
  std::string line;
  std::unordered_set<std::string> words;
  while (!reader.AtEnd()) {
    reader.ReadLine(line);
    if (line.empty()) continue;
    std::string word;
    if (!alphabet.AppendLetters(line, kFirstLetterCode, word) || word.empty()) {
      continue;
    }
    words.insert(std::move(word));
  }
  return words;
}

}  // namespace polimreza
