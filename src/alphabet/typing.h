// How a keyboard types an alphabet's letters into a grid: the letter each
// typed character enters and the pairs of keys that join into one letter,
// in either script's keyboard, as the pages that take typing receive it.
#ifndef POLIMREZA_ALPHABET_TYPING_H_
#define POLIMREZA_ALPHABET_TYPING_H_

#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "alphabet/alphabet.h"

namespace polimreza {

// A pair of keys that makes one letter: when the square just typed holds
// `previous` and the next key is `typed`, that square becomes `joined`.
struct TypingJoin {
  std::string previous;
  std::string typed;
  std::string joined;
};

// Characters are upper-case and composed (NFC), as a page compares a key
// after upper-casing it; letters are written as the puzzle's squares show
// them.
struct TypingTable {
  // Each typed character and the letter it enters, in the alphabet's order.
  std::vector<std::pair<std::string, std::string>> keys;
  std::vector<TypingJoin> joins;
};

// The typing of `alphabet` with its letters written in `script`. The ascii
// alphabet types A to Z and joins nothing. A Serbian alphabet types every
// letter from a Latin or a Cyrillic keyboard (and Unicode's one-character
// digraphs); a Latin key after the first letter of a Latin digraph joins
// the two (L J, N J, D Z-caron), and in Cyrillic D J makes D-stroke as well,
// as it is written where a keyboard has no D-stroke.
TypingTable TypingTableFor(const Alphabet& alphabet, Script script);
inline TypingTable TypingTableFor(const Alphabet& alphabet) {
  return TypingTableFor(alphabet, alphabet.script());
}

// {"keys": {TYPED: LETTER, ...}, "joins": [[PREVIOUS, TYPED, JOINED], ...]}.
nlohmann::ordered_json TypingJson(const TypingTable& table);

}  // namespace polimreza

#endif  // POLIMREZA_ALPHABET_TYPING_H_
