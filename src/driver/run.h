// The run of the program from its command line to its end: usage, loading
// the pattern, refusing what it cannot fill, solving, and printing.
#ifndef POLIMREZA_DRIVER_RUN_H_
#define POLIMREZA_DRIVER_RUN_H_

#include <istream>
#include <ostream>

#include "wordlist/word_list.h"

namespace polimreza {

// One whole run on a pattern already opened as `pattern`, with the word
// lists given by `lists`; everything goes to `out`.
void RunPattern(std::istream& pattern, const ListOpener& lists,
                std::ostream& out);

// The program: `argv[1]` names the pattern file, the word lists are
// "1.txt" to "9.txt" in the current directory. Prints to `out` only.
void Run(int argc, const char* const* argv, std::ostream& out);

}  // namespace polimreza

#endif  // POLIMREZA_DRIVER_RUN_H_
