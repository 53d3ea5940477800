// The straightforward fill as a program, kept only as the benchmarks'
// yardstick: the reference model of the tests (tests/reference_model.h) run
// on files. It prints what Polimreza prints.
//   polimreza_baseline PATTERN     a whole run, lists from the current folder
//   polimreza_baseline --read-lists  reads "1.txt".."9.txt" once, line by line
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "tests/reference_model.h"
#include "wordlist/word_list.h"

namespace {

// The list "LENGTH.txt" of the current folder; null when it cannot be
// opened.
std::unique_ptr<std::istream> OpenList(unsigned length) {
  auto list = std::make_unique<std::ifstream>(polimreza::ListFileName(length),
                                              std::ios::binary);
  if (!list->is_open()) return nullptr;
  return list;
}

// Reads every list once from start to end; gives the number of lines.
std::size_t ReadListsOnce() {
  std::size_t lines = 0;
  std::string line;
  for (unsigned length = 1; length <= 9; ++length) {
    std::unique_ptr<std::istream> list = OpenList(length);
    if (!list) continue;
    while (!list->eof()) {
      polimreza::reference::ReadLine(*list, line);
      ++lines;
    }
  }
  return lines;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  if (argc == 2 && std::string(argv[1]) == "--read-lists") {
    return ReadListsOnce() > 0 ? 0 : 1;
  }
  if (argc < 2) {
    std::cout << "Koriscenje programa:\nPolimreza <input_file>\n\n"
                 "input_file je izgled (pattern) vase buduce ukrstenice\n";
    return 0;
  }
  std::ifstream pattern(argv[1], std::ios::binary);
  if (!pattern.is_open()) {
    std::cout << "Ne mogu da otvorim " << argv[1]
              << "\nProgram ce se ugasiti\n";
    return 0;
  }
  polimreza::reference::Run(pattern, OpenList, std::cout);
  return 0;
}
