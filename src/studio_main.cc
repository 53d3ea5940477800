// polimreza-studio: the crossword constructor in a browser, served from this
// machine: draws the grid, lists the words that fit, fills with the search.
#include <iostream>

#include "driver/studio_run.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  return polimreza::RunStudio(argc, argv, std::cout, std::cerr);
}
