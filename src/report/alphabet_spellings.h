// How the report spells the letter codes of an alphabet's grid.
#ifndef POLIMREZA_REPORT_ALPHABET_SPELLINGS_H_
#define POLIMREZA_REPORT_ALPHABET_SPELLINGS_H_

#include "alphabet/alphabet.h"
#include "report/report.h"

namespace polimreza {

// What the report prints for each code: the letter in `script`, the Latin
// digraphs as their single Unicode characters so that a square stays one
// character; '#' and '*' as themselves.
CellSpellings AlphabetCellSpellings(const Alphabet& alphabet, Script script);

}  // namespace polimreza

#endif  // POLIMREZA_REPORT_ALPHABET_SPELLINGS_H_
