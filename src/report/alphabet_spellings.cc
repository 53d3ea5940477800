#include "report/alphabet_spellings.h"

#include <string>

#include "grid/pattern_reader.h"

namespace polimreza {

CellSpellings AlphabetCellSpellings(const Alphabet& alphabet, Script script) {
  CellSpellings spellings = IdentitySpellings();
  for (std::size_t letter = 0; letter < alphabet.size(); ++letter) {
    spellings[kFirstLetterCode + letter] = std::string(alphabet.Spelling(
        static_cast<Letter>(letter), script, DigraphForm::kSingleCharacter));
  }
  return spellings;
}

}  // namespace polimreza
