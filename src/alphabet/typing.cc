#include "alphabet/typing.h"

#include <algorithm>
#include <string_view>

namespace polimreza {
namespace {

// The one letter `spelling` reads as in `alphabet`.
Letter LetterOf(const Alphabet& alphabet, std::string_view spelling) {
  return alphabet.Split(spelling).letters.at(0);
}

// Adds `typed` entering `letter` unless `typed` is there already.
void AddKey(TypingTable& table, std::string_view typed,
            std::string_view letter) {
  const bool known =
      std::any_of(table.keys.begin(), table.keys.end(),
                  [typed](const auto& key) { return key.first == typed; });
  if (!known) table.keys.emplace_back(typed, letter);
}

// Latin pairs typed for a letter that a keyboard may lack: D-stroke as D J,
// as Serbian is written without diacritics. In Latin D J are two letters,
// so these pairs join only in Cyrillic.
struct KeyboardPair {
  std::string_view first;
  std::string_view second;
  std::string_view letter;
};
constexpr KeyboardPair kKeyboardPairs[] = {{"D", "J", "\xc4\x90"}};

}  // namespace

TypingTable TypingTableFor(const Alphabet& alphabet, Script script) {
  TypingTable table;
  const auto name = [&](Letter letter) {
    return std::string(alphabet.Spelling(letter, script));
  };
  for (std::size_t i = 0; i < alphabet.size(); ++i) {
    const auto letter = static_cast<Letter>(i);
    const std::string_view latin = alphabet.Spelling(letter, Script::kLatin);
    if (CharacterCount(latin) == 1) AddKey(table, latin, name(letter));
    AddKey(table,
           alphabet.Spelling(letter, Script::kLatin,
                             DigraphForm::kSingleCharacter),
           name(letter));
    AddKey(table, alphabet.Spelling(letter, Script::kCyrillic), name(letter));
  }
  if (alphabet.kind() == AlphabetKind::kAscii) return table;
  for (std::size_t i = 0; i < alphabet.size(); ++i) {
    const auto letter = static_cast<Letter>(i);
    const std::string_view latin = alphabet.Spelling(letter, Script::kLatin);
    if (CharacterCount(latin) != 2) continue;
    // The first of a Latin pair is D, L or N: one byte.
    table.joins.push_back({name(LetterOf(alphabet, latin.substr(0, 1))),
                           std::string(latin.substr(1)), name(letter)});
  }
  if (script == Script::kCyrillic) {
    for (const KeyboardPair& pair : kKeyboardPairs) {
      table.joins.push_back({name(LetterOf(alphabet, pair.first)),
                             std::string(pair.second),
                             name(LetterOf(alphabet, pair.letter))});
    }
  }
  return table;
}

nlohmann::ordered_json TypingJson(const TypingTable& table) {
  nlohmann::ordered_json keys = nlohmann::ordered_json::object();
  for (const auto& [typed, letter] : table.keys) keys[typed] = letter;
  nlohmann::ordered_json joins = nlohmann::ordered_json::array();
  for (const TypingJoin& join : table.joins) {
    joins.push_back({join.previous, join.typed, join.joined});
  }
  return {{"keys", std::move(keys)}, {"joins", std::move(joins)}};
}

}  // namespace polimreza
