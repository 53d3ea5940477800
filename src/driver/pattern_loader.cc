#include "driver/pattern_loader.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>

#include "report/report.h"
#include "text/text_lines.h"

namespace polimreza {
namespace {

bool IsPatternCell(unsigned char c) {
  return c == '#' || c == '*' || (c >= 'A' && c <= 'Z');
}

}  // namespace

LoadResult LoadPattern(std::istream& in, std::ostream& out, Grid& grid) {
  auto reader = std::make_unique<TextLineReader>(in);
  std::string line;

  std::uint64_t rows = 0;
  std::uint32_t width = 0;
  while (!reader->AtEnd()) {
    reader->ReadLine(line);
    if (line.empty()) continue;
    ++rows;
    if (line.size() > width) width = static_cast<std::uint32_t>(line.size());
  }
  const std::uint32_t height = static_cast<std::uint32_t>(
      std::min<std::uint64_t>(rows, std::numeric_limits<std::uint32_t>::max()));
  PrintDimensions(out, width, height);

  reader->Rewind();
  grid = Grid(width, height);

  // The file is read again from the start; should it have grown in between,
  // whatever falls outside the measured grid is left out.
  std::uint32_t row = 0;
  while (!reader->AtEnd() && row < height) {
    reader->ReadLine(line);
    if (line.empty()) continue;
    for (std::size_t column = 0; column < line.size() && column < width;
         ++column) {
      unsigned char c = static_cast<unsigned char>(line[column]);
      if (!IsPatternCell(c)) {
        out << IllegalCharacterRefusal();
        return LoadResult::kRefused;
      }
      grid.SetCell(grid.Index(column, row), c);
    }
    ++row;
  }
  return LoadResult::kLoaded;
}

}  // namespace polimreza
