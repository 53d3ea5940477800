// polimreza-fill: fills in a crossword by a complete search, or shows that
// no fill exists.
#include <iostream>

#include "driver/fill_run.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  return polimreza::RunFill(argc, argv, std::cout, std::cerr);
}
