// A deliberately plain whole run of the program, kept beside the tests as the
// yardstick for the fast solver: whole-Grid scans, linear list searches and a
// whole-Grid snapshot, written for obviousness rather than speed.
#ifndef POLIMREZA_TESTS_REFERENCE_MODEL_H_
#define POLIMREZA_TESTS_REFERENCE_MODEL_H_

#include <array>
#include <optional>
#include <string>

namespace polimreza::reference {

// The text of each word list "1.txt".."9.txt" (index 0 is "1.txt"); none
// when the file is missing.
using ListTexts = std::array<std::optional<std::string>, 9>;

// Everything the program prints for the pattern file `pattern` and the
// lists `lists`, from the dimension line on.
std::string Run(const std::string& pattern, const ListTexts& lists);

}  // namespace polimreza::reference

#endif  // POLIMREZA_TESTS_REFERENCE_MODEL_H_
