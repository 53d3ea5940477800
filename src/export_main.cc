// polimreza-export: turns the report of a solved crossword into a puzzle to
// print and play: a web page, an ipuz file and SVG pictures.
#include <iostream>

#include "driver/export_run.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  return polimreza::RunExport(argc, argv, std::cin, std::cout, std::cerr);
}
