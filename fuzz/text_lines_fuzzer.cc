// Fuzz target: the text-line reader and the pattern loader on arbitrary
// bytes, both held to the plain models of fuzz_model.h.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_model.h"
#include "grid/grid.h"
#include "grid/pattern_reader.h"
#include "text/text_lines.h"

namespace polimreza::fuzz {
namespace {

// The reader's lines for `text`, read twice (the second time after a
// rewind), must both be `empty_first` empty lines followed by `expected`.
void CheckReader(const std::string& text, std::size_t empty_first,
                 const std::vector<std::string>& expected) {
  std::istringstream in(text);
  auto reader = std::make_unique<TextLineReader>(in);
  std::string line;
  for (int pass = 0; pass < 2; ++pass) {
    std::size_t count = 0;
    while (!reader->AtEnd()) {
      reader->ReadLine(line);
      if (count < empty_first) {
        FUZZ_CHECK(line.empty());
      } else {
        FUZZ_CHECK(count - empty_first < expected.size());
        FUZZ_CHECK(line == expected[count - empty_first]);
      }
      ++count;
    }
    FUZZ_CHECK(count == empty_first + expected.size());
    reader->Rewind();
  }
}

void CheckLoader(const std::string& text, const ModelPattern& model) {
  std::istringstream in(text);
  const LoadedPattern loaded = LoadPattern(in);

  FUZZ_CHECK(loaded.width == model.width);
  FUZZ_CHECK(loaded.height == model.rows.size());
  if (model.illegal) {
    FUZZ_CHECK(loaded.refusal.has_value());
    FUZZ_CHECK(loaded.refusal->kind == PatternRefusalKind::kIllegalCharacter);
    // The first byte that is no cell, row by row.
    FUZZ_CHECK(loaded.refusal->row < model.rows.size());
    const std::string& row = model.rows[loaded.refusal->row];
    FUZZ_CHECK(loaded.refusal->column < row.size());
    FUZZ_CHECK(!IsPatternByte(
        static_cast<unsigned char>(row[loaded.refusal->column])));
    for (std::size_t r = 0; r <= loaded.refusal->row; ++r) {
      const std::size_t end = r == loaded.refusal->row ? loaded.refusal->column
                                                       : model.rows[r].size();
      for (std::size_t c = 0; c < end; ++c) {
        FUZZ_CHECK(IsPatternByte(static_cast<unsigned char>(model.rows[r][c])));
      }
    }
    return;
  }
  FUZZ_CHECK(!loaded.refusal.has_value());
  const Grid& grid = loaded.grid;
  FUZZ_CHECK(grid.gridWidth() == model.width);
  FUZZ_CHECK(grid.gridHeight() == model.rows.size());
  FUZZ_CHECK(grid.CellCount() == model.width * model.rows.size());
  for (std::size_t row = 0; row < model.rows.size(); ++row) {
    for (std::size_t column = 0; column < model.width; ++column) {
      FUZZ_CHECK(grid.Cell(grid.Index(column, row)) == model.At(column, row));
    }
  }
}

}  // namespace
}  // namespace polimreza::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace polimreza::fuzz;
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> expected = ModelLines(text);
  CheckReader(text, 0, expected);
  CheckLoader(text, ModelPatternOf(text));

  // An input that starts with a line feed is also read behind enough empty
  // lines that the reader's 64 KiB buffer ends in the middle of it.
  if (size > 0 && data[0] == '\n' && size < (1u << 16)) {
    const std::size_t filler = (1u << 16) - size / 2;
    std::string padded = std::string(filler, '\n') + text;
    CheckReader(padded, filler, expected);
  }
  return 0;
}
