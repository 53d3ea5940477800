// Checks a filled crossword against its pattern and word lists, on its own
// (it shares no code with the programs it checks):
//   polimreza_fill_check PATTERN LISTS_FOLDER ours REPORT
//   polimreza_fill_check PATTERN LISTS_FOLDER qxw DECK OUTPUT
// REPORT is polimreza-fill's output; the grid rows follow the first empty
// line. OUTPUT is qxw's batch output: a line "W<n> WORD" for the n-th light
// of DECK, whose squares are numbered from 0 over the pattern's open squares
// in reading order. The fill is valid when it keeps every black square and
// given letter, fills every open square with A-Z (or, for the benchmark's
// Cyrillic lists recoded to ISO-8859-5, one byte a letter, a byte from 0xA0),
// every maximal run across and down (single squares included) is a word of
// LISTS_FOLDER/<length>.txt
// (the text before the first ';' of a line), and no word of two or more
// letters is used twice. Exit 0 valid, 1 invalid (the fault on stdout),
// 2 unusable input.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::string>;

bool ReadLines(const std::string& path, Rows& lines) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return true;
}

// The pattern's non-empty lines, padded with '#' to the longest.
Rows ReadPattern(const std::string& path, bool& ok) {
  Rows lines, rows;
  ok = ReadLines(path, lines);
  std::size_t width = 0;
  for (const auto& line : lines) {
    if (line.empty()) continue;
    rows.push_back(line);
    width = std::max(width, line.size());
  }
  for (auto& row : rows) row.resize(width, '#');
  return rows;
}

bool Open(const Rows& grid, int row, int column) {
  return row >= 0 && column >= 0 && row < static_cast<int>(grid.size()) &&
         column < static_cast<int>(grid[row].size()) &&
         grid[row][column] != '#';
}

// The grid from qxw's output: each light's word written over its squares.
bool GridFromQxw(const Rows& pattern, const std::string& deck_path,
                 const std::string& output_path, Rows& grid,
                 std::string& fault) {
  Rows deck, output;
  if (!ReadLines(deck_path, deck) || !ReadLines(output_path, output)) {
    fault = "cannot read the deck or the output";
    return false;
  }
  std::vector<std::pair<int, int>> squares;
  for (int row = 0; row < static_cast<int>(pattern.size()); ++row) {
    for (int column = 0; column < static_cast<int>(pattern[row].size());
         ++column) {
      if (Open(pattern, row, column)) squares.emplace_back(row, column);
    }
  }
  grid = pattern;
  for (const auto& line : output) {
    if (line.size() < 2 || line[0] != 'W') continue;
    std::istringstream words(line.substr(1));
    std::size_t light;
    std::string word;
    if (!(words >> light >> word) || light >= deck.size()) {
      fault = "unexpected output line: " + line;
      return false;
    }
    std::istringstream numbers(deck[light]);
    std::size_t k = 0;
    for (std::size_t square; numbers >> square; ++k) {
      if (square >= squares.size() || k >= word.size()) {
        fault = "light " + std::to_string(light) + " does not fit " + word;
        return false;
      }
      char& cell = grid[squares[square].first][squares[square].second];
      if (cell != '*' && cell != word[k]) {
        fault = "light " + std::to_string(light) + " (" + word +
                ") crosses another light's letter " + cell;
        return false;
      }
      cell = word[k];
    }
    if (k != word.size()) {
      fault = "light " + std::to_string(light) + " does not fit " + word;
      return false;
    }
  }
  return true;
}

// The grid from our report: the rows after the first empty line.
Rows GridFromReport(const Rows& report, std::size_t height) {
  Rows grid;
  std::size_t k = 0;
  while (k < report.size() && !report[k].empty()) ++k;
  for (++k; k < report.size() && grid.size() < height; ++k) {
    grid.push_back(report[k]);
  }
  return grid;
}

std::string Check(const Rows& pattern, const Rows& grid,
                  const std::vector<std::set<std::string>>& lists) {
  if (grid.size() != pattern.size()) return "the grid has the wrong height";
  for (std::size_t row = 0; row < pattern.size(); ++row) {
    if (grid[row].size() != pattern[row].size()) {
      return "row " + std::to_string(row + 1) + " has the wrong width";
    }
    for (std::size_t column = 0; column < pattern[row].size(); ++column) {
      const char given = pattern[row][column], cell = grid[row][column];
      const bool kept = given == '#' ? cell == '#'
                        : given == '*'
                            ? (cell >= 'A' && cell <= 'Z') ||
                                  static_cast<unsigned char>(cell) >= 0xA0
                            : cell == given;
      if (!kept) {
        return "square (" + std::to_string(column + 1) + "," +
               std::to_string(row + 1) + ") holds '" + cell + "' for '" +
               given + "'";
      }
    }
  }
  std::set<std::string> used;
  for (int across = 1; across >= 0; --across) {
    const int dr = across ? 0 : 1, dc = across ? 1 : 0;
    for (int row = 0; row < static_cast<int>(grid.size()); ++row) {
      for (int column = 0; column < static_cast<int>(grid[row].size());
           ++column) {
        if (!Open(grid, row, column) || Open(grid, row - dr, column - dc)) {
          continue;
        }
        std::string word;
        for (int r = row, c = column; Open(grid, r, c); r += dr, c += dc) {
          word += grid[r][c];
        }
        const std::string where = " at (" + std::to_string(column + 1) + "," +
                                  std::to_string(row + 1) + ")" +
                                  (across ? " across" : " down");
        if (word.size() >= lists.size() || !lists[word.size()].count(word)) {
          return word + where + " is not in its list";
        }
        if (word.size() >= 2 && !used.insert(word).second) {
          return word + where + " is used twice";
        }
      }
    }
  }
  return "";
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 3 ? argv[3] : "";
  if (!((mode == "ours" && argc == 5) || (mode == "qxw" && argc == 6))) {
    std::fprintf(stderr,
                 "usage: %s PATTERN LISTS_FOLDER ours REPORT\n"
                 "       %s PATTERN LISTS_FOLDER qxw DECK OUTPUT\n",
                 argv[0], argv[0]);
    return 2;
  }
  bool ok;
  const Rows pattern = ReadPattern(argv[1], ok);
  if (!ok) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 2;
  }
  // Lists of 1 to 25 letters; a missing one holds no word.
  std::vector<std::set<std::string>> lists(26);
  for (std::size_t length = 1; length < lists.size(); ++length) {
    Rows lines;
    ReadLines(std::string(argv[2]) + "/" + std::to_string(length) + ".txt",
              lines);
    for (const auto& line : lines) {
      lists[length].insert(line.substr(0, line.find(';')));
    }
  }
  Rows grid;
  std::string fault;
  if (mode == "ours") {
    Rows report;
    if (!ReadLines(argv[4], report)) {
      std::fprintf(stderr, "cannot read %s\n", argv[4]);
      return 2;
    }
    grid = GridFromReport(report, pattern.size());
  } else if (!GridFromQxw(pattern, argv[4], argv[5], grid, fault)) {
    std::cout << "invalid: " << fault << '\n';
    return 1;
  }
  fault = Check(pattern, grid, lists);
  if (!fault.empty()) {
    std::cout << "invalid: " << fault << '\n';
    return 1;
  }
  std::cout << "valid\n";
  return 0;
}
