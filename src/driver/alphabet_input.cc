#include "driver/alphabet_input.h"

#include <algorithm>
#include <limits>
#include <new>
#include <optional>
#include <sstream>
#include <vector>

#include "text/text_lines.h"

namespace polimreza {
namespace {

// `line` as codes; none when a run of letters is refused, with `squares` then
// the count of squares before that run.
std::optional<std::string> ConvertRow(std::string_view line,
                                      const Alphabet& alphabet,
                                      std::size_t& squares) {
  std::string row;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == '#' || line[i] == '*') {
      row.push_back(line[i]);
      ++i;
      continue;
    }
    const std::size_t end = std::min(line.find_first_of("#*", i), line.size());
    const SplitResult split = alphabet.Split(line.substr(i, end - i));
    if (!split.ok()) {
      squares = row.size();
      return std::nullopt;
    }
    for (Letter letter : split.letters) {
      row.push_back(static_cast<char>(kFirstLetterCode + letter));
    }
    i = end;
  }
  return row;
}

// The characters of `line` as UTF-8 counts them: every byte but the
// continuation bytes.
std::size_t CharacterCount(std::string_view line) {
  return static_cast<std::size_t>(std::count_if(
      line.begin(), line.end(),
      [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

LoadedPattern LoadAlphabetPattern(std::istream& in, const Alphabet& alphabet) {
  TextLineReader reader(in);
  std::string line;
  std::vector<std::string> rows;
  std::optional<PatternRefusal> refusal;
  LoadedPattern loaded;
  std::uint64_t height = 0;
  while (!reader.AtEnd()) {
    reader.ReadLine(line);
    if (line.empty()) continue;
    std::size_t squares = 0;
    std::optional<std::string> row = ConvertRow(line, alphabet, squares);
    std::size_t width = row ? row->size() : CharacterCount(line);
    if (!row && !refusal) {
      refusal = PatternRefusal{PatternRefusalKind::kIllegalCharacter, squares,
                               static_cast<std::size_t>(height)};
    }
    if (!refusal) rows.push_back(std::move(*row));
    loaded.width = std::max(loaded.width, static_cast<std::uint32_t>(width));
    ++height;
  }
  loaded.height = static_cast<std::uint32_t>(std::min<std::uint64_t>(
      height, std::numeric_limits<std::uint32_t>::max()));
  try {
    loaded.grid = Grid(loaded.width, loaded.height);
  } catch (const std::bad_alloc&) {
    loaded.refusal = PatternRefusal{PatternRefusalKind::kTooLarge};
    return loaded;
  }
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      loaded.grid.SetCell(loaded.grid.Index(static_cast<std::uint32_t>(c),
                                            static_cast<std::uint32_t>(r)),
                          static_cast<unsigned char>(rows[r][c]));
    }
  }
  loaded.refusal = refusal;
  return loaded;
}

std::string ConvertWordList(std::istream& in, const Alphabet& alphabet) {
  TextLineReader reader(in);
  std::string line;
  std::string out;
  while (!reader.AtEnd()) {
    reader.ReadLine(line);
    const std::size_t semicolon = line.find(';');
    if (semicolon == std::string::npos) continue;
    const SplitResult split =
        alphabet.Split(std::string_view(line).substr(0, semicolon));
    if (!split.ok() || split.letters.empty()) continue;
    for (Letter letter : split.letters) {
      out.push_back(static_cast<char>(kFirstLetterCode + letter));
    }
    out.append(line, semicolon, std::string::npos);
    out.push_back('\n');
  }
  return out;
}

ListOpener AlphabetListOpener(ListOpener lists,
                              std::shared_ptr<const Alphabet> alphabet) {
  return [lists = std::move(lists), alphabet = std::move(alphabet)](
             unsigned length) -> std::unique_ptr<std::istream> {
    std::unique_ptr<std::istream> in = lists(length);
    if (!in) return nullptr;
    return std::make_unique<std::istringstream>(
        ConvertWordList(*in, *alphabet));
  };
}

CellSpellings AlphabetCellSpellings(const Alphabet& alphabet, Script script) {
  CellSpellings spellings = IdentitySpellings();
  for (std::size_t letter = 0; letter < alphabet.size(); ++letter) {
    spellings[kFirstLetterCode + letter] = std::string(alphabet.Spelling(
        static_cast<Letter>(letter), script, DigraphForm::kSingleCharacter));
  }
  return spellings;
}

}  // namespace polimreza
