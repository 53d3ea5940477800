#include "wordlist/alphabet_lists.h"

#include <sstream>
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

ListOpener AnyLetterSingles(ListOpener opener, const Alphabet& alphabet) {
  std::string singles;
  for (std::size_t letter = 0; letter < alphabet.size(); ++letter) {
    singles += alphabet.Name(static_cast<Letter>(letter));
    singles += ";\n";
  }
  return [opener = std::move(opener),
          singles](unsigned length) -> std::unique_ptr<std::istream> {
    if (length == 1) return std::make_unique<std::istringstream>(singles);
    return opener(length);
  };
}

}  // namespace polimreza
