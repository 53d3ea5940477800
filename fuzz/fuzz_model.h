// Plain, slow models of the file formats that the fuzz targets hold the
// program's readers to: text lines, pattern rows and word-list entries.
#ifndef POLIMREZA_FUZZ_FUZZ_MODEL_H_
#define POLIMREZA_FUZZ_FUZZ_MODEL_H_

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace polimreza::fuzz {

// Stops the fuzzer with a message when `condition` does not hold.
#define FUZZ_CHECK(condition)                                               \
  do {                                                                      \
    if (!(condition)) {                                                     \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, \
                   #condition);                                             \
      std::abort();                                                         \
    }                                                                       \
  } while (0)

// Every line a reader gives for `text`, testing the end-of-file flag before
// each read: pieces of at most 199 bytes, LF dropped, CR dropped only just
// before LF, nothing read from the first Ctrl-Z on, and one last empty line
// when the text ends right after a line feed (or is empty).
inline std::vector<std::string> ModelLines(std::string_view text) {
  std::size_t end = text.find('\x1a');
  if (end != std::string_view::npos) text = text.substr(0, end);
  std::vector<std::string> lines;
  std::size_t pos = 0;
  bool at_end = false;
  while (!at_end) {
    std::string line;
    for (;;) {
      if (line.size() == 199) break;
      if (pos == text.size()) {
        at_end = true;
        break;
      }
      char c = text[pos++];
      if (c == '\n') break;
      if (c == '\r' && pos < text.size() && text[pos] == '\n') {
        ++pos;
        break;
      }
      line.push_back(c);
    }
    lines.push_back(line);
  }
  return lines;
}

inline bool IsPatternByte(unsigned char c) {
  return c == '#' || c == '*' || (c >= 'A' && c <= 'Z');
}

// A pattern as the loader must see it: the non-empty lines are the rows.
struct ModelPattern {
  std::vector<std::string> rows;
  std::size_t width = 0;
  bool illegal = false;  // some row holds a byte outside '#', '*', 'A'-'Z'

  // The cell at (column, row) as a byte: rows are padded with '#'.
  char At(std::size_t column, std::size_t row) const {
    const std::string& r = rows[row];
    return column < r.size() ? r[column] : '#';
  }
};

inline ModelPattern ModelPatternOf(std::string_view text) {
  ModelPattern pattern;
  for (std::string& line : ModelLines(text)) {
    if (line.empty()) continue;
    if (line.size() > pattern.width) pattern.width = line.size();
    for (char c : line) {
      if (!IsPatternByte(static_cast<unsigned char>(c))) pattern.illegal = true;
    }
    pattern.rows.push_back(std::move(line));
  }
  return pattern;
}

struct ModelEntry {
  std::string word;
  std::string clue;
};

// The valid entries of a list of words of `length` bytes, in file order: a
// non-empty line with ';', no NUL, a word of exactly `length` bytes holding
// neither '*' nor '#'.
inline std::vector<ModelEntry> ModelEntries(std::string_view text,
                                            std::size_t length) {
  std::vector<ModelEntry> entries;
  for (const std::string& line : ModelLines(text)) {
    std::size_t semicolon = line.find(';');
    if (semicolon == std::string::npos) continue;
    if (line.find('\0') != std::string::npos) continue;
    std::string word = line.substr(0, semicolon);
    if (word.size() != length) continue;
    if (word.find_first_of("*#") != std::string::npos) continue;
    entries.push_back({word, line.substr(semicolon + 1)});
  }
  return entries;
}

// 1 when `word` fits `pattern` position by position, '*' fitting anything;
// a position past the word's end holds NUL.
inline int ModelMatch(std::string_view pattern, std::string_view word) {
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    char w = i < word.size() ? word[i] : '\0';
    if (pattern[i] != '*' && pattern[i] != w) return 0;
  }
  return 1;
}

}  // namespace polimreza::fuzz

#endif  // POLIMREZA_FUZZ_FUZZ_MODEL_H_
