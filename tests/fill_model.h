// A brute-force model of the complete search, kept beside the tests as its
// yardstick: every letter in every open square, every combination, checked
// slot by slot. Only for tiny grids and alphabets.
#ifndef POLIMREZA_TESTS_FILL_MODEL_H_
#define POLIMREZA_TESTS_FILL_MODEL_H_

#include <algorithm>
#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace polimreza::model {

using Rows = std::vector<std::string>;  // '#' block, '*' open, else a letter

// The words of every maximal run of non-'#' squares of `rows` (rows of equal
// width), across row by row, then down column by column.
inline std::vector<std::string> SlotWords(const Rows& rows) {
  std::vector<std::string> words;
  const std::size_t height = rows.size();
  const std::size_t width = height ? rows[0].size() : 0;
  auto runs = [&](std::size_t lines, std::size_t length, auto at) {
    for (std::size_t a = 0; a < lines; ++a) {
      std::string run;
      for (std::size_t b = 0; b <= length; ++b) {
        if (b < length && at(a, b) != '#') {
          run.push_back(at(a, b));
        } else if (!run.empty()) {
          words.push_back(run);
          run.clear();
        }
      }
    }
  };
  runs(height, width, [&](std::size_t r, std::size_t c) { return rows[r][c]; });
  runs(width, height, [&](std::size_t c, std::size_t r) { return rows[r][c]; });
  return words;
}

// Whether `rows` is a fill: no '*', every slot a word of `lists` (by
// length), and no word of two or more letters twice unless `repeats`.
inline bool IsFill(const Rows& rows,
                   const std::map<std::size_t, std::vector<std::string>>& lists,
                   bool repeats) {
  std::set<std::string> seen;
  for (const std::string& word : SlotWords(rows)) {
    if (word.find('*') != std::string::npos) return false;
    auto list = lists.find(word.size());
    if (list == lists.end() ||
        std::find(list->second.begin(), list->second.end(), word) ==
            list->second.end()) {
      return false;
    }
    if (word.size() >= 2 && !repeats && !seen.insert(word).second) {
      return false;
    }
  }
  return true;
}

// Whether two words of two or more letters of `rows` that `weak` holds
// cross: one across and one down through the same square.
inline bool WeakCrossing(const Rows& rows, const std::set<std::string>& weak) {
  const std::size_t height = rows.size();
  const std::size_t width = height ? rows[0].size() : 0;
  // The word through (r, c) in the direction (dr, dc), each 0 or 1.
  auto word = [&](std::size_t r, std::size_t c, std::size_t dr,
                  std::size_t dc) {
    while (r >= dr && c >= dc && rows[r - dr][c - dc] != '#') {
      r -= dr;
      c -= dc;
    }
    std::string run;
    for (; r < height && c < width && rows[r][c] != '#'; r += dr, c += dc) {
      run.push_back(rows[r][c]);
    }
    return run;
  };
  for (std::size_t r = 0; r < height; ++r) {
    for (std::size_t c = 0; c < width; ++c) {
      if (rows[r][c] == '#') continue;
      const std::string across = word(r, c, 0, 1);
      const std::string down = word(r, c, 1, 0);
      if (across.size() >= 2 && down.size() >= 2 && weak.contains(across) &&
          weak.contains(down)) {
        return true;
      }
    }
  }
  return false;
}

// Every fill of `pattern`, trying each byte of `alphabet` in each '*'.
inline std::vector<Rows> AllFills(
    const Rows& pattern,
    const std::map<std::size_t, std::vector<std::string>>& lists, bool repeats,
    const std::string& alphabet) {
  std::vector<std::pair<std::size_t, std::size_t>> open;
  for (std::size_t r = 0; r < pattern.size(); ++r) {
    for (std::size_t c = 0; c < pattern[r].size(); ++c) {
      if (pattern[r][c] == '*') open.emplace_back(r, c);
    }
  }
  std::vector<Rows> fills;
  std::vector<std::size_t> digit(open.size(), 0);
  Rows rows = pattern;
  for (;;) {
    for (std::size_t k = 0; k < open.size(); ++k) {
      rows[open[k].first][open[k].second] = alphabet[digit[k]];
    }
    if (IsFill(rows, lists, repeats)) fills.push_back(rows);
    std::size_t k = 0;
    while (k < open.size() && ++digit[k] == alphabet.size()) digit[k++] = 0;
    if (k == open.size()) return fills;
  }
}

}  // namespace polimreza::model

#endif  // POLIMREZA_TESTS_FILL_MODEL_H_
