#include "grid/pattern_reader.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <new>
#include <string>
#include <string_view>

#include "text/text_lines.h"

namespace polimreza {
namespace {

// One row of a pattern as cells.
struct RowCells {
  std::string cells;      // up to the first refused character when refused
  std::size_t width = 0;  // the row's measure
  bool refused = false;
};

// What each character of `line` becomes: without an alphabet every byte is a
// cell ('#', '*', 'A'-'Z'); with one, '#' and '*' stay and the runs between
// them are split into letters, each its code.
RowCells ReadRow(std::string_view line, const Alphabet* alphabet) {
  RowCells row;
  if (alphabet == nullptr) {
    row.width = line.size();
    for (char ch : line) {
      const unsigned char c = static_cast<unsigned char>(ch);
      if (c != '#' && c != '*' && (c < 'A' || c > 'Z')) {
        row.refused = true;
        break;
      }
      row.cells.push_back(ch);
    }
    return row;
  }
  if (!AppendRowCells(line, *alphabet, EmptyRun::kNothing, row.cells)) {
    row.refused = true;
    row.width = CharacterCount(line);
    return row;
  }
  row.width = row.cells.size();
  return row;
}

LoadedPattern Load(std::istream& in, const Alphabet* alphabet) {
  auto reader = std::make_unique<TextLineReader>(in);
  std::string line;
  LoadedPattern loaded;

  std::uint64_t rows = 0;
  std::size_t widest = 0;
  while (!reader->AtEnd()) {
    reader->ReadLine(line);
    if (line.empty()) continue;
    ++rows;
    widest = std::max(widest, ReadRow(line, alphabet).width);
  }
  loaded.width = static_cast<std::uint32_t>(
      std::min<std::size_t>(widest, std::numeric_limits<std::uint32_t>::max()));
  loaded.height = static_cast<std::uint32_t>(
      std::min<std::uint64_t>(rows, std::numeric_limits<std::uint32_t>::max()));
  const std::uint32_t width = loaded.width;
  const std::uint32_t height = loaded.height;

  reader->Rewind();
  try {
    loaded.grid = Grid(width, height);
  } catch (const std::bad_alloc&) {
    loaded.refusal = PatternRefusal{PatternRefusalKind::kTooLarge};
    return loaded;
  }

  // The file is read again from the start; should it have grown in between,
  // whatever falls outside the measured grid is left out.
  std::uint32_t row = 0;
  Grid& grid = loaded.grid;
  while (!reader->AtEnd() && row < height) {
    reader->ReadLine(line);
    if (line.empty()) continue;
    const RowCells cells = ReadRow(line, alphabet);
    for (std::size_t column = 0; column < cells.cells.size() && column < width;
         ++column) {
      grid.SetCell(grid.Index(static_cast<std::uint32_t>(column), row),
                   static_cast<unsigned char>(cells.cells[column]));
    }
    if (cells.refused && cells.cells.size() < width) {
      loaded.refusal = PatternRefusal{PatternRefusalKind::kIllegalCharacter,
                                      cells.cells.size(), row};
      return loaded;
    }
    ++row;
  }
  return loaded;
}

}  // namespace

LoadedPattern LoadPattern(std::istream& in) { return Load(in, nullptr); }

LoadedPattern LoadAlphabetPattern(std::istream& in, const Alphabet& alphabet) {
  return Load(in, &alphabet);
}

bool AppendRowCells(std::string_view line, const Alphabet& alphabet,
                    EmptyRun empty_run, std::string& cells) {
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == '#' || line[i] == '*') {
      cells.push_back(line[i++]);
      continue;
    }
    const std::size_t end = std::min(line.find_first_of("#*", i), line.size());
    const std::size_t before = cells.size();
    if (!alphabet.AppendLetters(line.substr(i, end - i), kFirstLetterCode,
                                cells)) {
      return false;
    }
    if (empty_run == EmptyRun::kRefused && cells.size() == before) {
      return false;
    }
    i = end;
  }
  return true;
}

}  // namespace polimreza
