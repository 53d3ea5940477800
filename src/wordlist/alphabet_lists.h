// Word lists written in the letters of an alphabet, read as letter codes
// (kFirstLetterCode + letter) so that the lists match the grid's cells.
#ifndef POLIMREZA_WORDLIST_ALPHABET_LISTS_H_
#define POLIMREZA_WORDLIST_ALPHABET_LISTS_H_

#include <istream>
#include <memory>
#include <string>
#include <unordered_set>

#include "alphabet/alphabet.h"
#include "grid/pattern_reader.h"
#include "wordlist/word_list.h"

namespace polimreza {

// Writes a list word (the text before a line's first ';') as the codes of
// its letters, for WordList to read the lists in one pass; a word that is no
// word of `alphabet`, or has no letter, is refused, which leaves its line out.
WordEncoder AlphabetWordEncoder(std::shared_ptr<const Alphabet> alphabet);

// The words of `in`, one a line (LF or CR LF), written as codes as
// AlphabetWordEncoder writes them; blank lines and lines that are no word of
// `alphabet` are left out.
std::unordered_set<std::string> ReadWordSet(std::istream& in,
                                            const Alphabet& alphabet);

// The lists of `opener`, but for the list of single letters, which is every
// letter of `alphabet` without a clue: the lists of a skandinavka, whose
// single squares are no words and take whatever letter crosses them.
ListOpener AnyLetterSingles(ListOpener opener, const Alphabet& alphabet);

}  // namespace polimreza

#endif  // POLIMREZA_WORDLIST_ALPHABET_LISTS_H_
