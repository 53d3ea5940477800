#include "driver/pattern_loader.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <new>
#include <string>

#include "text/text_lines.h"

namespace polimreza {
namespace {

bool IsPatternCell(unsigned char c) {
  return c == '#' || c == '*' || (c >= 'A' && c <= 'Z');
}

}  // namespace

LoadedPattern LoadPattern(std::istream& in) {
  auto reader = std::make_unique<TextLineReader>(in);
  std::string line;
  LoadedPattern loaded;

  std::uint64_t rows = 0;
  while (!reader->AtEnd()) {
    reader->ReadLine(line);
    if (line.empty()) continue;
    ++rows;
    if (line.size() > loaded.width) {
      loaded.width = static_cast<std::uint32_t>(line.size());
    }
  }
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
    for (std::size_t column = 0; column < line.size() && column < width;
         ++column) {
      unsigned char c = static_cast<unsigned char>(line[column]);
      if (!IsPatternCell(c)) {
        loaded.refusal =
            PatternRefusal{PatternRefusalKind::kIllegalCharacter, column, row};
        return loaded;
      }
      grid.SetCell(grid.Index(column, row), c);
    }
    ++row;
  }
  return loaded;
}

}  // namespace polimreza
