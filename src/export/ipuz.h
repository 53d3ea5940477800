// The ipuz file of a numbered puzzle: the open JSON crossword format that
// solving apps and construction tools read; written for finished and
// unfinished puzzles, and read back.
#ifndef POLIMREZA_EXPORT_IPUZ_H_
#define POLIMREZA_EXPORT_IPUZ_H_

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "export/numbering.h"

namespace polimreza {

// An ipuz version 2 crossword: dimensions, the numbered puzzle (0 for an
// unnumbered square, "#" for a block), the solution and both clue lists.
// The title and the clues are HTML there, so &, < and > are escaped. A
// Serbian puzzle also gives its letters ("charset") and its language.
// An open square whose letter is empty holds the empty value (0) in the
// solution too: an unfinished puzzle keeps its letters so far there, a
// finished one its whole solution. The puzzle's author and copyright are
// written when given, and its author_squares, when known, under the
// extension field kIpuzAuthorField.
std::string WriteIpuz(const NumberedPuzzle& puzzle);

// WriteIpuz's file as JSON, for a writer that adds extension fields
// before IpuzText writes it.
nlohmann::ordered_json IpuzJson(const NumberedPuzzle& puzzle);

// The text of the ipuz file `ipuz`, ending in a line feed.
std::string IpuzText(const nlohmann::ordered_json& ipuz);

// Rows of 0 and 1: 1 where the author placed the square's letter.
inline constexpr std::string_view kIpuzAuthorField = "com.polimreza:author";

// A crossword read from an ipuz file.
struct IpuzCrossword {
  std::string title;
  std::string author;
  std::string copyright;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<bool> block;
  // Each square's solution text; empty for an open square without one.
  std::vector<std::string> letters;
  std::vector<bool> author_squares;  // all false without the extension
  // The clue texts of each list in the file's order, HTML entities read.
  std::vector<std::string> across;
  std::vector<std::string> down;
  // The whole file as read, for extension fields that other readers keep.
  nlohmann::ordered_json document;
};

// Reads an ipuz crossword; a Serbian message of one line when the text is
// no ipuz crossword this program can read.
std::variant<IpuzCrossword, std::string> ReadIpuz(std::string_view text);

}  // namespace polimreza

#endif  // POLIMREZA_EXPORT_IPUZ_H_
