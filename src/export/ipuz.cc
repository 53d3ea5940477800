#include "export/ipuz.h"

#include <functional>
#include <nlohmann/json.hpp>
#include <utility>

#include "tool/json_reader.h"

namespace polimreza {
namespace {

using Json = nlohmann::ordered_json;

Json ClueList(const std::vector<NumberedSlot>& slots) {
  Json list = Json::array();
  for (const NumberedSlot& slot : slots) {
    list.push_back(Json::array({slot.number, EscapeMarkup(slot.clue, false)}));
  }
  return list;
}

}  // namespace

// ipuz readers take the title and clues as HTML: they are escaped so that
// they show as written.
Json IpuzJson(const NumberedPuzzle& puzzle) {
  Json cells = Json::array();
  Json solution = Json::array();
  for (std::size_t row = 0; row < puzzle.height; ++row) {
    Json cell_row = Json::array();
    Json solution_row = Json::array();
    for (std::size_t column = 0; column < puzzle.width; ++column) {
      const std::size_t i = column + row * puzzle.width;
      if (puzzle.block[i]) {
        cell_row.push_back("#");
        solution_row.push_back("#");
      } else {
        cell_row.push_back(puzzle.numbers[i]);
        if (puzzle.letters[i].empty()) {
          solution_row.push_back(0);
        } else {
          solution_row.push_back(puzzle.letters[i]);
        }
      }
    }
    cells.push_back(std::move(cell_row));
    solution.push_back(std::move(solution_row));
  }
  Json ipuz = {
      {"version", "http://ipuz.org/v2"},
      {"kind", Json::array({"http://ipuz.org/crossword#1"})},
      {"title", EscapeMarkup(puzzle.title, false)},
      {"dimensions", {{"width", puzzle.width}, {"height", puzzle.height}}},
      {"block", "#"},
      {"empty", 0},
      {"puzzle", std::move(cells)},
      {"solution", std::move(solution)},
      {"clues",
       {{"Across", ClueList(puzzle.across)}, {"Down", ClueList(puzzle.down)}}},
  };
  if (!puzzle.alphabet.empty()) {
    // ipuz's charset is a string of the characters a square may take, and a
    // square may hold several: no string lists LJ, NJ and DZ-caron as one
    // entry each, so the letters are simply concatenated, in the alphabet's
    // order; every character of the Latin pairs is a letter of its own as
    // well, so a reader that takes the string character by character
    // refuses nothing a solver needs.
    std::string charset;
    for (const std::string& letter : puzzle.alphabet) charset += letter;
    ipuz["charset"] = charset;
    ipuz["language"] = puzzle.language;
  }
  if (!puzzle.author.empty()) {
    ipuz["author"] = EscapeMarkup(DisplayText(puzzle.author), false);
  }
  if (!puzzle.copyright.empty()) {
    ipuz["copyright"] = EscapeMarkup(DisplayText(puzzle.copyright), false);
  }
  if (puzzle.author_squares.size() == puzzle.block.size() &&
      !puzzle.author_squares.empty()) {
    Json rows = Json::array();
    for (std::size_t row = 0; row < puzzle.height; ++row) {
      Json flags = Json::array();
      for (std::size_t column = 0; column < puzzle.width; ++column) {
        flags.push_back(puzzle.author_squares[column + row * puzzle.width] ? 1
                                                                           : 0);
      }
      rows.push_back(std::move(flags));
    }
    ipuz[std::string(kIpuzAuthorField)] = std::move(rows);
  }
  return ipuz;
}

std::string IpuzText(const Json& ipuz) {
  // Every text is valid UTF-8 already (DisplayText); the handler only keeps
  // a slip from ever throwing.
  return ipuz.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string WriteIpuz(const NumberedPuzzle& puzzle) {
  return IpuzText(IpuzJson(puzzle));
}

namespace {

// `html` with the character references a writer escapes read back, and
// markup tags left out.
std::string PlainText(const Json& value) {
  if (!value.is_string()) return "";
  const std::string& html = value.get_ref<const std::string&>();
  static constexpr std::pair<std::string_view, std::string_view> kEntities[] = {
      {"&amp;", "&"},   {"&lt;", "<"},  {"&gt;", ">"},
      {"&quot;", "\""}, {"&#39;", "'"}, {"&apos;", "'"}};
  std::string out;
  std::size_t i = 0;
  while (i < html.size()) {
    bool read = false;
    if (html[i] == '&') {
      for (const auto& [entity, text] : kEntities) {
        if (std::string_view(html).substr(i, entity.size()) == entity) {
          out += text;
          i += entity.size();
          read = true;
          break;
        }
      }
    }
    if (!read) out.push_back(html[i++]);
  }
  return out;
}

// A clue of a clue list: [number, "clue"], {"clue": ...} or "clue".
std::string ClueText(const Json& clue) {
  if (clue.is_string()) return PlainText(clue);
  if (clue.is_array() && clue.size() >= 2) return PlainText(clue[1]);
  if (clue.is_object() && clue.contains("clue")) return PlainText(clue["clue"]);
  return "";
}

// The clue list whose name starts with `direction` ("Across", "Across:..").
std::vector<std::string> ClueListOf(const Json& clues,
                                    std::string_view direction) {
  std::vector<std::string> list;
  if (!clues.is_object()) return list;
  for (const auto& [name, items] : clues.items()) {
    if (!std::string_view(name).starts_with(direction) || !items.is_array()) {
      continue;
    }
    for (const Json& clue : items) list.push_back(ClueText(clue));
    break;
  }
  return list;
}

}  // namespace

std::variant<IpuzCrossword, std::string> ReadIpuz(std::string_view text) {
  auto read = ReadJson(text);
  if (read.index() != 0 &&
      std::get<JsonProblem>(read) == JsonProblem::kTooDeep) {
    return "Fajl ima JSON dublji od 64 nivoa";
  }
  if (read.index() != 0 || !std::get<0>(read).is_object()) {
    return "Fajl nije JSON";
  }
  Json document = std::move(std::get<0>(read));
  const Json& ipuz = document;
  bool crossword = false;
  if (ipuz.contains("kind") && ipuz["kind"].is_array()) {
    for (const Json& kind : ipuz["kind"]) {
      if (kind.is_string() && kind.get<std::string>().find(
                                  "ipuz.org/crossword") != std::string::npos) {
        crossword = true;
      }
    }
  }
  if (!crossword) return "Fajl nije ipuz ukrstenica";
  const Json& dimensions = ipuz.value("dimensions", Json::object());
  if (!dimensions.is_object() || !dimensions.contains("width") ||
      !dimensions.contains("height") ||
      !dimensions["width"].is_number_unsigned() ||
      !dimensions["height"].is_number_unsigned()) {
    return "Fajl nema ispravne dimenzije";
  }
  IpuzCrossword out;
  const auto width = dimensions["width"].get<std::uint64_t>();
  const auto height = dimensions["height"].get<std::uint64_t>();
  if (width == 0 || height == 0 || width > 1000 || height > 1000) {
    return "Fajl nema ispravne dimenzije";
  }
  out.width = static_cast<std::uint32_t>(width);
  out.height = static_cast<std::uint32_t>(height);
  const std::size_t cells = width * height;
  out.block.assign(cells, false);
  out.letters.assign(cells, "");
  out.author_squares.assign(cells, false);
  const std::string block_value =
      ipuz.contains("block") && ipuz["block"].is_string()
          ? ipuz["block"].get<std::string>()
          : "#";
  const Json& puzzle = ipuz.value("puzzle", Json::array());
  const Json& solution = ipuz.value("solution", Json::array());
  const Json& author = ipuz.value(std::string(kIpuzAuthorField), Json::array());
  auto at = [](const Json& rows, std::size_t row, std::size_t column) {
    static const Json kNull;
    if (!rows.is_array() || row >= rows.size() || !rows[row].is_array() ||
        column >= rows[row].size()) {
      return std::cref(kNull);
    }
    return std::cref(rows[row][column]);
  };
  auto is_block = [&](const Json& cell) {
    const Json& value =
        cell.is_object() && cell.contains("cell") ? cell["cell"] : cell;
    return value.is_null() || (value.is_string() && value == block_value);
  };
  for (std::size_t row = 0; row < height; ++row) {
    for (std::size_t column = 0; column < width; ++column) {
      const std::size_t i = column + row * width;
      const Json& cell = at(puzzle, row, column);
      const Json& answer = at(solution, row, column);
      out.block[i] =
          (puzzle.is_array() && is_block(cell)) ||
          (!puzzle.is_array() && answer.is_string() && answer == block_value);
      if (out.block[i]) continue;
      const Json& value = answer.is_object() && answer.contains("value")
                              ? answer["value"]
                              : answer;
      if (value.is_string() && value != block_value) {
        out.letters[i] = value.get<std::string>();
      }
      const Json& flag = at(author, row, column);
      out.author_squares[i] = flag.is_number() && flag.get<double>() != 0 &&
                              !out.letters[i].empty();
    }
  }
  out.title = PlainText(ipuz.value("title", Json()));
  out.author = PlainText(ipuz.value("author", Json()));
  out.copyright = PlainText(ipuz.value("copyright", Json()));
  const Json& clues = ipuz.value("clues", Json::object());
  out.across = ClueListOf(clues, "Across");
  out.down = ClueListOf(clues, "Down");
  out.document = std::move(document);
  return out;
}

}  // namespace polimreza
