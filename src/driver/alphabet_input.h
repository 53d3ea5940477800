// Patterns and word lists written in the letters of an alphabet: each letter
// becomes one byte code, so that the grid, the lists and the search work on
// single bytes as they do for A-Z, and the report spells the codes back.
#ifndef POLIMREZA_DRIVER_ALPHABET_INPUT_H_
#define POLIMREZA_DRIVER_ALPHABET_INPUT_H_

#include <istream>
#include <memory>
#include <string>

#include "alphabet/alphabet.h"
#include "driver/pattern_loader.h"
#include "report/report.h"
#include "wordlist/word_list.h"

namespace polimreza {

// Letter l stands as the byte kFirstLetterCode + l: 65 to 96 for the largest
// alphabet, never '#' or '*'.
inline constexpr unsigned char kFirstLetterCode = 'A';

// Reads the pattern in `in`: '#' and '*' stay, every run of other characters
// is split into letters of `alphabet` and each letter becomes its code. The
// dimensions count squares; a row holding a character that is no letter is
// measured in characters and refused as an illegal character.
LoadedPattern LoadAlphabetPattern(std::istream& in, const Alphabet& alphabet);

// The list text in `in` (lines WORD;clue) with each word written as codes:
// lines whose word is no word of `alphabet` are left out, the clues stay.
std::string ConvertWordList(std::istream& in, const Alphabet& alphabet);

// Opens the lists `lists` opens, converted by ConvertWordList.
ListOpener AlphabetListOpener(ListOpener lists,
                              std::shared_ptr<const Alphabet> alphabet);

// What the report prints for each code: the letter in `script`, the Latin
// digraphs as their single Unicode characters so that a square stays one
// character; '#' and '*' as themselves.
CellSpellings AlphabetCellSpellings(const Alphabet& alphabet, Script script);

}  // namespace polimreza

#endif  // POLIMREZA_DRIVER_ALPHABET_INPUT_H_
