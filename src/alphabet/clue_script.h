// Clue text in the other script: every Serbian letter of a clue written in
// Latin or in Cyrillic, everything else kept as it is.
#ifndef POLIMREZA_ALPHABET_CLUE_SCRIPT_H_
#define POLIMREZA_ALPHABET_CLUE_SCRIPT_H_

#include <string>
#include <string_view>

#include "alphabet/alphabet.h"

namespace polimreza {

// Writes `text` (UTF-8) into `out` with every Serbian letter in `script`,
// letter by letter and keeping its case; everything else, bytes that are not
// UTF-8 included, passes as it is. Latin D and Z-caron, L and J, N and J (and
// Unicode's one-character digraphs) are one letter unless a zero width
// non-joiner stands between them, which Cyrillic does not need; in Latin, one
// goes between such letters that are two.
void ConvertClueScript(std::string_view text, Script script, std::string& out);

}  // namespace polimreza

#endif  // POLIMREZA_ALPHABET_CLUE_SCRIPT_H_
