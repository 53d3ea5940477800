// A deliberately plain whole run of the program, the yardstick of the fast
// solver in the differential test and the baseline of the benchmarks:
// whole-Grid scans, lists reread line by line, a whole-Grid snapshot.
#ifndef POLIMREZA_TESTS_REFERENCE_MODEL_H_
#define POLIMREZA_TESTS_REFERENCE_MODEL_H_

#include <array>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace polimreza::reference {

// The text of each word list "1.txt".."9.txt" (index 0 is "1.txt"); none
// when the file is missing.
using ListTexts = std::array<std::optional<std::string>, 9>;

// Opens the list of the words of `length` letters (1 to 9); null when the
// list is missing.
using ListSource = std::function<std::unique_ptr<std::istream>(unsigned)>;

// Reads one line from `in`: at most 199 bytes, the line feed (and a carriage
// return just before it) dropped, Ctrl-Z ending the text. The read that
// meets the end sets `in`'s end-of-file flag.
void ReadLine(std::istream& in, std::string& line);

// Prints to `out` everything the program prints for the pattern read from
// `pattern`, from the dimension line on. The lists are opened once the
// pattern is accepted, and every lookup seeks in its list to the byte where
// it resumes and reads on line by line.
void Run(std::istream& pattern, const ListSource& lists, std::ostream& out);

// Everything the program prints for the pattern file `pattern` and the
// lists `lists`, from the dimension line on.
std::string Run(const std::string& pattern, const ListTexts& lists);

}  // namespace polimreza::reference

#endif  // POLIMREZA_TESTS_REFERENCE_MODEL_H_
