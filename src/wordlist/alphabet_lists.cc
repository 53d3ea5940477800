#include "wordlist/alphabet_lists.h"

#include <sstream>
#include <string_view>

#include "text/text_lines.h"

namespace polimreza {

std::string ConvertWordList(std::istream& in, const Alphabet& alphabet) {
  TextLineReader reader(in);
  std::string line;
  std::string out;
  while (!reader.AtEnd()) {
    reader.ReadLine(line);
    const std::size_t semicolon = line.find(';');
    if (semicolon == std::string::npos) continue;
    const SplitResult split =
        alphabet.Split(std::string_view(line).substr(0, semicolon));
    if (!split.ok() || split.letters.empty()) continue;
    for (Letter letter : split.letters) {
      out.push_back(static_cast<char>(kFirstLetterCode + letter));
    }
    out.append(line, semicolon, std::string::npos);
    out.push_back('\n');
  }
  return out;
}

ListOpener AlphabetListOpener(ListOpener lists,
                              std::shared_ptr<const Alphabet> alphabet) {
  return [lists = std::move(lists), alphabet = std::move(alphabet)](
             unsigned length) -> std::unique_ptr<std::istream> {
    std::unique_ptr<std::istream> in = lists(length);
    if (!in) return nullptr;
    return std::make_unique<std::istringstream>(
        ConvertWordList(*in, *alphabet));
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
    const SplitResult split = alphabet.Split(line);
    if (!split.ok() || split.letters.empty()) continue;
    std::string word;
    for (Letter letter : split.letters) {
      word.push_back(static_cast<char>(kFirstLetterCode + letter));
    }
    words.insert(std::move(word));
  }
  return words;
}

}  // namespace polimreza
