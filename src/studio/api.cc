#include "studio/api.h"

#include <algorithm>
#include <cmath>

#include "grid/pattern_reader.h"
#include "tool/json_reader.h"

namespace polimreza {
namespace {

ApiError Bad(std::string message) { return ApiError{400, std::move(message)}; }

ApiError BadField(const char* name) {
  return Bad(std::string("Polje ") + name + " nedostaje ili nije ispravno");
}

std::string Position(std::size_t row, std::size_t col) {
  return "red " + std::to_string(row + 1) + ", kolona " +
         std::to_string(col + 1);
}

// One row as codes, or the square (counted from 0) of its first character
// that is no letter.
std::variant<std::string, std::size_t> RowCodes(std::string_view line,
                                                const Alphabet& alphabet) {
  std::string row;
  if (!AppendRowCells(line, alphabet, EmptyRun::kRefused, row)) {
    return row.size();
  }
  return row;
}

bool IsLetterCode(std::int32_t cell, const Alphabet& alphabet) {
  return cell >= kFirstLetterCode &&
         cell < static_cast<std::int32_t>(kFirstLetterCode + alphabet.size());
}

Decoded<Grid> GridField(const Json& object, const char* name,
                        const Alphabet& alphabet) {
  if (!object.contains(name)) return BadField(name);
  return DecodeRows(object[name], alphabet);
}

Decoded<std::string> OptionalString(const Json& object, const char* name) {
  if (!object.contains(name)) return std::string();
  return StringField(object, name);
}

Decoded<std::vector<std::string>> StringList(const Json& value,
                                             const char* name) {
  if (!value.is_array()) return BadField(name);
  std::vector<std::string> list;
  for (const Json& item : value) {
    if (!item.is_string()) return BadField(name);
    list.push_back(item.get<std::string>());
  }
  return list;
}

bool ValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t length = c < 0x80           ? 1
                         : (c >> 5) == 0x6  ? 2
                         : (c >> 4) == 0xE  ? 3
                         : (c >> 3) == 0x1E ? 4
                                            : 0;
    if (length == 0 || (length > 1 && c < 0xC2) || i + length > text.size()) {
      return false;
    }
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
        return false;
      }
    }
    i += length;
  }
  return true;
}

// The limit of a list reply: 200 when absent, at most 1000.
Decoded<std::size_t> LimitField(const Json& object) {
  if (!object.contains("limit")) return std::size_t{200};
  const Json& limit = object["limit"];
  if (!limit.is_number_unsigned() && !limit.is_number_integer()) {
    return BadField("limit");
  }
  const auto value = limit.get<std::int64_t>();
  if (value < 0) return BadField("limit");
  return static_cast<std::size_t>(std::min<std::int64_t>(value, 1000));
}

Decoded<int> DirectionField(const Json& object) {
  POLIMREZA_TAKE(name, StringField(object, "direction"));
  if (name == "across") return int{ACROSS};
  if (name == "down") return int{DOWN};
  return BadField("direction");
}

}  // namespace

std::string ErrorBody(const ApiError& error) {
  const std::string& message = error.message;
  const bool plain = std::all_of(message.begin(), message.end(), [](char c) {
    return c >= 0x20 && c < 0x7f && c != '"' && c != '\\';
  });
  if (!plain) {
    Json body = {{"error", message}};
    if (error.exists) body["exists"] = true;
    return body.dump(-1, ' ', false, Json::error_handler_t::replace);
  }
  // Written by hand: a JSON value frees its members through a stack it
  // allocates, so destroying one while memory runs out ends the program.
  std::string body = "{\"error\":\"";
  body += message;
  body += error.exists ? "\",\"exists\":true}" : "\"}";
  return body;
}

Decoded<Json> ParseObject(std::string_view body) {
  auto read = ReadJson(body);
  if (read.index() != 0 &&
      std::get<JsonProblem>(read) == JsonProblem::kTooDeep) {
    return Bad("JSON je dublji od 64 nivoa");
  }
  if (read.index() != 0 || !std::get<0>(read).is_object()) {
    return Bad("Neispravan JSON");
  }
  return std::move(std::get<0>(read));
}

Decoded<Grid> DecodeRows(const Json& rows, const Alphabet& alphabet) {
  if (!rows.is_array()) return BadField("rows");
  if (rows.empty()) return Bad("Mreza je prazna");
  if (rows.size() > kStudioMaxSize) {
    return Bad("Mreza je veca od 100x100");
  }
  std::vector<std::string> codes;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (!rows[r].is_string()) return BadField("rows");
    auto row = RowCodes(rows[r].get_ref<const std::string&>(), alphabet);
    if (auto* column = std::get_if<std::size_t>(&row)) {
      return Bad("Znak koji nije slovo: " + Position(r, *column));
    }
    codes.push_back(std::move(std::get<std::string>(row)));
    if (codes.back().size() > kStudioMaxSize) {
      return Bad("Mreza je veca od 100x100");
    }
    if (codes.back().size() != codes.front().size()) {
      return Bad("Redovi nisu iste duzine");
    }
  }
  if (codes.front().empty()) return Bad("Mreza je prazna");
  Grid grid(static_cast<std::uint32_t>(codes.front().size()),
            static_cast<std::uint32_t>(codes.size()));
  for (std::size_t r = 0; r < codes.size(); ++r) {
    for (std::size_t c = 0; c < codes[r].size(); ++c) {
      grid.SetCell(grid.Index(c, r), static_cast<unsigned char>(codes[r][c]));
    }
  }
  if (std::optional<Slot> slot = FindLongSlot(grid, kMaxEntryLength)) {
    return Bad("Rec duza od " + std::to_string(kMaxEntryLength) + " slova: " +
               Position(slot->start / grid.gridWidth(),
                        slot->start % grid.gridWidth()));
  }
  return grid;
}

std::vector<std::string> EncodeRows(const Grid& grid,
                                    const Alphabet& alphabet) {
  std::vector<std::string> rows;
  for (std::size_t r = 0; r < grid.gridHeight(); ++r) {
    std::string row;
    std::vector<Letter> run;
    for (std::size_t c = 0; c <= grid.gridWidth(); ++c) {
      const std::int32_t cell =
          c < grid.gridWidth() ? grid.Cell(grid.Index(c, r)) : CELL_BLOCK;
      if (c < grid.gridWidth() && IsLetterCode(cell, alphabet)) {
        run.push_back(static_cast<Letter>(cell - kFirstLetterCode));
        continue;
      }
      if (!run.empty()) row += alphabet.Write(run);
      run.clear();
      if (c < grid.gridWidth()) row.push_back(cell == CELL_BLOCK ? '#' : '*');
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string EncodeWord(std::string_view codes, const Alphabet& alphabet) {
  std::vector<Letter> letters;
  for (char code : codes) {
    letters.push_back(static_cast<Letter>(static_cast<unsigned char>(code) -
                                          kFirstLetterCode));
  }
  return alphabet.Write(letters);
}

std::optional<std::string> DecodeWord(std::string_view text,
                                      const Alphabet& alphabet) {
  const SplitResult split = alphabet.Split(text);
  if (!split.ok() || split.letters.empty()) return std::nullopt;
  std::string codes;
  for (Letter letter : split.letters) {
    codes.push_back(static_cast<char>(kFirstLetterCode + letter));
  }
  return codes;
}

Decoded<std::string> StringField(const Json& object, const char* name) {
  if (!object.contains(name) || !object[name].is_string()) {
    return BadField(name);
  }
  return object[name].get<std::string>();
}

Decoded<bool> OptionalBool(const Json& object, const char* name, bool absent) {
  if (!object.contains(name)) return absent;
  if (!object[name].is_boolean()) return BadField(name);
  return object[name].get<bool>();
}

Decoded<std::size_t> NumberField(const Json& object, const char* name,
                                 std::optional<std::size_t> absent,
                                 std::size_t min, std::size_t max) {
  if (!object.contains(name)) {
    if (absent) return *absent;
    return BadField(name);
  }
  const Json& value = object[name];
  if (!value.is_number_integer()) return BadField(name);
  const auto number = value.get<std::int64_t>();
  if (number < static_cast<std::int64_t>(min) ||
      number > static_cast<std::int64_t>(max)) {
    return BadField(name);
  }
  return static_cast<std::size_t>(number);
}

Decoded<PuzzleKind> KindField(const Json& object) {
  if (!object.contains("kind")) return PuzzleKind::kClassic;
  POLIMREZA_TAKE(name, StringField(object, "kind"));
  if (name == "classic") return PuzzleKind::kClassic;
  if (name == "skandinavka") return PuzzleKind::kSkandinavka;
  return BadField("kind");
}

Decoded<std::size_t> SlotThrough(const Grid& grid, std::size_t row,
                                 std::size_t col, int direction) {
  if (row >= grid.gridHeight() || col >= grid.gridWidth()) {
    return Bad("Polje je van mreze");
  }
  if (grid.Cell(grid.Index(col, row)) == CELL_BLOCK) {
    return Bad("Polje je crno");
  }
  const std::vector<Slot> slots = FindSlots(grid);
  for (std::size_t s = 0; s < slots.size(); ++s) {
    const Slot& slot = slots[s];
    if (slot.direction != direction) continue;
    const std::size_t r0 = slot.start / grid.gridWidth();
    const std::size_t c0 = slot.start % grid.gridWidth();
    const bool through =
        direction == ACROSS
            ? (r0 == row && col >= c0 && col < c0 + slot.length)
            : (c0 == col && row >= r0 && row < r0 + slot.length);
    if (through) {
      if (slot.length < 2) break;
      return s;
    }
  }
  return Bad("Kroz polje ne prolazi rec u tom smeru");
}

Decoded<CandidatesRequest> DecodeCandidates(std::string_view body,
                                            const Alphabet& alphabet) {
  POLIMREZA_TAKE(json, ParseObject(body));
  POLIMREZA_TAKE(grid, GridField(json, "rows", alphabet));
  POLIMREZA_TAKE(row, NumberField(json, "row", std::nullopt, 0, SIZE_MAX >> 1));
  POLIMREZA_TAKE(col, NumberField(json, "col", std::nullopt, 0, SIZE_MAX >> 1));
  POLIMREZA_TAKE(direction, DirectionField(json));
  POLIMREZA_TAKE(limit, LimitField(json));
  POLIMREZA_TAKE(kind, KindField(json));
  return CandidatesRequest{std::move(grid), row, col, direction, limit, kind};
}

Decoded<CheckRequest> DecodeCheck(std::string_view body,
                                  const Alphabet& alphabet) {
  POLIMREZA_TAKE(json, ParseObject(body));
  POLIMREZA_TAKE(grid, GridField(json, "rows", alphabet));
  POLIMREZA_TAKE(kind, KindField(json));
  return CheckRequest{std::move(grid), kind};
}

Decoded<SearchRequest> DecodeSearch(std::string_view body,
                                    const Alphabet& alphabet) {
  POLIMREZA_TAKE(json, ParseObject(body));
  POLIMREZA_TAKE(text, StringField(json, "pattern"));
  POLIMREZA_TAKE(limit, LimitField(json));
  std::string pattern;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '?') {
      pattern.push_back('*');
      ++i;
      continue;
    }
    const std::size_t end = std::min(text.find('?', i), text.size());
    std::optional<std::string> codes =
        DecodeWord(std::string_view(text).substr(i, end - i), alphabet);
    if (!codes) return Bad("Neispravan uzorak");
    pattern += *codes;
    i = end;
  }
  if (pattern.empty() || pattern.size() > kMaxEntryLength) {
    return Bad("Neispravan uzorak");
  }
  return SearchRequest{std::move(pattern), limit};
}

namespace {

// The part of `g` a fill works on: a rectangle or a slot.
Decoded<FillRegion> DecodeRegion(const Json& region, const Grid& g) {
  if (!region.is_object()) return BadField("region");
  FillRegion out;
  if (region.contains("top")) {
    POLIMREZA_TAKE(top, NumberField(region, "top", std::nullopt, 0, 1 << 30));
    POLIMREZA_TAKE(left, NumberField(region, "left", std::nullopt, 0, 1 << 30));
    POLIMREZA_TAKE(bottom,
                   NumberField(region, "bottom", std::nullopt, 0, 1 << 30));
    POLIMREZA_TAKE(right,
                   NumberField(region, "right", std::nullopt, 0, 1 << 30));
    if (top > bottom || left > right || bottom >= g.gridHeight() ||
        right >= g.gridWidth()) {
      return Bad("Oblast je van mreze");
    }
    out.top = top;
    out.left = left;
    out.bottom = bottom;
    out.right = right;
    return out;
  }
  POLIMREZA_TAKE(row, NumberField(region, "row", std::nullopt, 0, 1 << 30));
  POLIMREZA_TAKE(col, NumberField(region, "col", std::nullopt, 0, 1 << 30));
  POLIMREZA_TAKE(direction, DirectionField(region));
  if (row >= g.gridHeight() || col >= g.gridWidth()) {
    return Bad("Oblast je van mreze");
  }
  POLIMREZA_TAKE(slot, SlotThrough(g, row, col, direction));
  const Slot target = FindSlots(g)[slot];
  for (unsigned k = 0; k < target.length; ++k) {
    out.cells.push_back(target.start + k * g.Step(target.direction));
  }
  out.slot = true;
  out.row = row;
  out.col = col;
  out.direction = direction;
  return out;
}

}  // namespace

Decoded<FillRequest> DecodeFill(std::string_view body,
                                const Alphabet& alphabet) {
  POLIMREZA_TAKE(json, ParseObject(body));
  FillRequest request;
  POLIMREZA_TAKE(grid, GridField(json, "rows", alphabet));
  request.grid = std::move(grid);
  POLIMREZA_TAKE(another, OptionalBool(json, "another", false));
  request.another = another;
  POLIMREZA_TAKE(kind, KindField(json));
  request.kind = kind;
  if (json.contains("timeLimit")) {
    const Json& limit = json["timeLimit"];
    if (!limit.is_number() || !std::isfinite(limit.get<double>()) ||
        limit.get<double>() <= 0) {
      return BadField("timeLimit");
    }
    request.time_limit = std::min(limit.get<double>(), 600.0);
  }
  if (json.contains("region") && !json["region"].is_null()) {
    POLIMREZA_TAKE(region, DecodeRegion(json["region"], request.grid));
    request.region = std::move(region);
  }
  return request;
}

bool SlotInRegion(const FillRequest& request, const Slot& slot) {
  if (!request.region) return true;
  const FillRegion& region = *request.region;
  const Grid& grid = request.grid;
  const std::size_t width = grid.gridWidth();
  for (unsigned k = 0; k < slot.length; ++k) {
    const CellIndex i = slot.start + k * grid.Step(slot.direction);
    if (region.slot) {
      // The slot itself and every slot crossing it share a square with it.
      if (std::find(region.cells.begin(), region.cells.end(), i) !=
          region.cells.end()) {
        return true;
      }
      continue;
    }
    const std::size_t row = i / width, col = i % width;
    if (grid.Cell(i) == CELL_EMPTY && row >= region.top &&
        row <= region.bottom && col >= region.left && col <= region.right) {
      return true;
    }
  }
  return false;
}

Decoded<std::string> DecodeWordRequest(std::string_view body,
                                       const Alphabet& alphabet) {
  POLIMREZA_TAKE(json, ParseObject(body));
  POLIMREZA_TAKE(word, StringField(json, "word"));
  std::optional<std::string> codes = DecodeWord(word, alphabet);
  if (!codes || codes->size() > kMaxEntryLength) return Bad("Neispravna rec");
  return *codes;
}

Decoded<CluesRequest> DecodeClues(std::string_view body,
                                  const Alphabet& alphabet) {
  POLIMREZA_TAKE(json, ParseObject(body));
  if (!json.contains("words")) return BadField("words");
  POLIMREZA_TAKE(words, StringList(json["words"], "words"));
  CluesRequest request;
  for (const std::string& word : words) {
    request.codes.push_back(DecodeWord(word, alphabet).value_or(""));
  }
  request.words = std::move(words);
  return request;
}

Decoded<ClueRequest> DecodeClue(std::string_view body,
                                const Alphabet& alphabet) {
  POLIMREZA_TAKE(json, ParseObject(body));
  POLIMREZA_TAKE(word, StringField(json, "word"));
  POLIMREZA_TAKE(clue, StringField(json, "clue"));
  std::optional<std::string> codes = DecodeWord(word, alphabet);
  if (!codes || codes->size() > kMaxEntryLength) return Bad("Neispravna rec");
  if (clue.find_first_of("\r\n") != std::string::npos) {
    return Bad("Opis mora biti u jednom redu");
  }
  return ClueRequest{*codes, clue};
}

std::string FileNameProblem(std::string_view name, std::string_view extension) {
  const bool bad =
      name.empty() || name.size() > 100 || name.front() == '.' ||
      name.find_first_of("/\\") != std::string_view::npos ||
      name.find("..") != std::string_view::npos || !ValidUtf8(name) ||
      std::any_of(name.begin(), name.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x20; });
  if (bad) return "Neispravno ime fajla";
  if (!extension.empty() &&
      (name.size() <= extension.size() || !name.ends_with(extension))) {
    return "Ime fajla mora da se zavrsava sa " + std::string(extension);
  }
  return "";
}

Decoded<std::string> DecodeOpen(std::string_view body) {
  POLIMREZA_TAKE(json, ParseObject(body));
  POLIMREZA_TAKE(name, StringField(json, "name"));
  if (std::string problem = FileNameProblem(name, ".ipuz"); !problem.empty()) {
    return Bad(problem);
  }
  return name;
}

Decoded<std::vector<WordClue>> DecodeSquareClues(const Json& list,
                                                 const char* name) {
  if (!list.is_array()) return BadField(name);
  std::vector<WordClue> clues;
  for (const Json& item : list) {
    if (!item.is_object()) return BadField(name);
    WordClue clue;
    POLIMREZA_TAKE(
        row, NumberField(item, "row", std::nullopt, 0, kStudioMaxSize - 1));
    POLIMREZA_TAKE(
        col, NumberField(item, "col", std::nullopt, 0, kStudioMaxSize - 1));
    POLIMREZA_TAKE(direction, DirectionField(item));
    POLIMREZA_TAKE(text, StringField(item, "clue"));
    if (text.find_first_of("\r\n") != std::string::npos) {
      return Bad("Opis mora biti u jednom redu");
    }
    clues.push_back({row, col, direction, std::move(text)});
  }
  return clues;
}

Decoded<SaveRequest> DecodeSave(std::string_view body, const Alphabet& alphabet,
                                std::string_view extension) {
  POLIMREZA_TAKE(json, ParseObject(body));
  SaveRequest request;
  POLIMREZA_TAKE(name, StringField(json, "name"));
  if (std::string problem = FileNameProblem(name, extension);
      !problem.empty()) {
    return Bad(problem);
  }
  request.name = name;
  POLIMREZA_TAKE(grid, GridField(json, "rows", alphabet));
  request.grid = std::move(grid);
  request.author = Grid(request.grid.gridWidth(), request.grid.gridHeight());
  for (CellIndex i = 0; i < request.author.CellCount(); ++i) {
    request.author.SetCell(i, CELL_EMPTY);
  }
  if (json.contains("author")) {
    POLIMREZA_TAKE(author, GridField(json, "author", alphabet));
    if (author.gridWidth() != request.grid.gridWidth() ||
        author.gridHeight() != request.grid.gridHeight()) {
      return Bad("Redovi autora nisu iste velicine kao mreza");
    }
    for (CellIndex i = 0; i < author.CellCount(); ++i) {
      if (IsLetterCode(author.Cell(i), alphabet) &&
          author.Cell(i) == request.grid.Cell(i)) {
        request.author.SetCell(i, author.Cell(i));
      }
    }
  }
  POLIMREZA_TAKE(title, OptionalString(json, "title"));
  request.title = title;
  POLIMREZA_TAKE(author_name, OptionalString(json, "author_name"));
  request.author_name = author_name;
  POLIMREZA_TAKE(copyright, OptionalString(json, "copyright"));
  request.copyright = copyright;
  if (json.contains("clues")) {
    const Json& clues = json["clues"];
    if (!clues.is_object()) return BadField("clues");
    if (clues.contains("across")) {
      POLIMREZA_TAKE(across, StringList(clues["across"], "clues"));
      request.across = std::move(across);
    }
    if (clues.contains("down")) {
      POLIMREZA_TAKE(down, StringList(clues["down"], "clues"));
      request.down = std::move(down);
    }
  }
  POLIMREZA_TAKE(overwrite, OptionalBool(json, "overwrite", false));
  request.overwrite = overwrite;
  POLIMREZA_TAKE(kind, KindField(json));
  request.kind = kind;
  if (json.contains("squareClues")) {
    POLIMREZA_TAKE(clues,
                   DecodeSquareClues(json["squareClues"], "squareClues"));
    request.square_clues = std::move(clues);
  }
  return request;
}

}  // namespace polimreza
