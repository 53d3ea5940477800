#include "wordlist/alphabet_lists.h"

#include <string_view>
#include <vector>

#include "text/text_lines.h"

namespace polimreza {
namespace {

// Appends the codes of the letters of `word` to `codes`; false when `word`
// is no word of `alphabet` or has no letter. `letters` is room to reuse.
bool AppendCodes(const Alphabet& alphabet, std::string_view word,
                 std::vector<Letter>& letters, std::string& codes) {
  if (!alphabet.SplitInto(word, letters) || letters.empty()) return false;
  const std::size_t start = codes.size();
  codes.resize(start + letters.size());
  char* out = codes.data() + start;
  for (const Letter letter : letters) {
    *out++ = static_cast<char>(kFirstLetterCode + letter);
  }
  return true;
}

}  // namespace

WordEncoder AlphabetWordEncoder(std::shared_ptr<const Alphabet> alphabet) {
  return [alphabet = std::move(alphabet), letters = std::vector<Letter>()](
             std::string_view word, std::string& codes) mutable {
    return AppendCodes(*alphabet, word, letters, codes);
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
