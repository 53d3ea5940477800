// polimreza-lists: builds the nine word lists from dictionaries and word
// files people already have.
#include <unicode/uclean.h>

#include <iostream>

#include "driver/lists_run.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const int status = polimreza::RunLists(argc, argv, std::cout, std::cerr);
  // Frees ICU's caches (its transliterator registry), which would
  // otherwise stay until the process ends and read as leaks.
  u_cleanup();
  return status;
}
