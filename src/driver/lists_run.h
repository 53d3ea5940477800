// The run of polimreza-lists from its command line to its exit status:
// options, reading the sources, building the nine lists, and writing them
// all or none.
#ifndef POLIMREZA_DRIVER_LISTS_RUN_H_
#define POLIMREZA_DRIVER_LISTS_RUN_H_

#include <ostream>

namespace polimreza {

// The program: parses `argv`, reads the sources it names and writes the
// lists; prints the summary or the error to `out`, the error's first line
// and, on a terminal, the source being read to `err`; gives the exit status.
int RunLists(int argc, const char* const* argv, std::ostream& out,
             std::ostream& err);

}  // namespace polimreza

#endif  // POLIMREZA_DRIVER_LISTS_RUN_H_
