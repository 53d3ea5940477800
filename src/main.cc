// Polimreza: fills in a crossword from a pattern file and nine word lists.
#include <iostream>

#include "driver/run.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  polimreza::Run(argc, argv, std::cout);
  return 0;
}
