#include "export/html.h"

#include <map>
#include <nlohmann/json.hpp>

#include "export/page_files.h"

namespace polimreza {
namespace {

using Json = nlohmann::ordered_json;

// `page` with every "{{name}}" of `values` replaced; the inserted text is
// never searched again.
std::string FillTemplate(std::string_view page,
                         const std::map<std::string, std::string>& values) {
  std::string out;
  std::size_t at = 0;
  while (at < page.size()) {
    const std::size_t open = page.find("{{", at);
    const std::size_t close = open == std::string_view::npos
                                  ? std::string_view::npos
                                  : page.find("}}", open + 2);
    if (close == std::string_view::npos) break;
    out.append(page.substr(at, open - at));
    const auto value =
        values.find(std::string(page.substr(open + 2, close - open - 2)));
    if (value != values.end()) {
      out += value->second;
    } else {
      out.append(page.substr(open, close + 2 - open));
    }
    at = close + 2;
  }
  out.append(page.substr(std::min(at, page.size())));
  return out;
}

std::string Cell(std::size_t i) { return std::to_string(i); }

// The grid as a table: with `solution` the letters, otherwise one input per
// open square.
std::string GridTable(const NumberedPuzzle& puzzle, bool solution) {
  const std::string size =
      std::to_string(puzzle.width) + " x " + std::to_string(puzzle.height);
  std::string out = "<table class=\"grid" +
                    std::string(solution ? " key\"" : "\" id=\"grid\"") +
                    " style=\"--cols:" + std::to_string(puzzle.width) +
                    "\" aria-label=\"" +
                    (solution ? "Resenje, mreza " : "Mreza ") + size + "\">\n";
  for (std::size_t row = 0; row < puzzle.height; ++row) {
    out += "<tr>";
    for (std::size_t column = 0; column < puzzle.width; ++column) {
      const std::size_t i = column + row * puzzle.width;
      if (puzzle.block[i]) {
        out += "<td class=\"block\"></td>";
        continue;
      }
      out += "<td class=\"sq\">";
      std::string label = "Red " + std::to_string(row + 1) + ", kolona " +
                          std::to_string(column + 1);
      if (puzzle.numbers[i] != 0) {
        out += "<span class=\"num\" aria-hidden=\"true\">" +
               std::to_string(puzzle.numbers[i]) + "</span>";
        label += ", broj " + std::to_string(puzzle.numbers[i]);
      }
      if (solution) {
        out += "<span class=\"letter\">" + EscapeMarkup(puzzle.letters[i]) +
               "</span>";
      } else {
        out += "<input id=\"q" + Cell(i) + "\" data-i=\"" + Cell(i) +
               "\" type=\"text\" autocomplete=\"off\" "
               "autocapitalize=\"characters\" "
               "spellcheck=\"false\" aria-label=\"" +
               label + "\">";
      }
      out += "</td>";
    }
    out += "</tr>\n";
  }
  return out + "</table>";
}

std::string ClueItems(const std::vector<NumberedSlot>& slots,
                      std::string_view direction) {
  std::string out;
  for (std::size_t k = 0; k < slots.size(); ++k) {
    const std::string number = std::to_string(slots[k].number);
    out += "<li id=\"" + std::string(direction) + "-" + std::to_string(k) +
           "\" data-slot=\"" + std::to_string(k) + "\"><span class=\"n\">" +
           number + ".</span> " + EscapeMarkup(slots[k].clue) + "</li>\n";
  }
  return out;
}

Json SlotData(const std::vector<NumberedSlot>& slots) {
  Json list = Json::array();
  for (const NumberedSlot& slot : slots) {
    list.push_back(
        {{"number", slot.number}, {"cells", slot.cells}, {"clue", slot.clue}});
  }
  return list;
}

}  // namespace

std::string PageData(const NumberedPuzzle& puzzle) {
  Json letters = Json::array();
  for (std::size_t i = 0; i < puzzle.block.size(); ++i) {
    if (puzzle.block[i]) {
      letters.push_back(nullptr);
    } else {
      letters.push_back(puzzle.letters[i]);
    }
  }
  const Json data = {
      {"title", puzzle.title},        {"width", puzzle.width},
      {"height", puzzle.height},      {"letters", std::move(letters)},
      {"numbers", puzzle.numbers},    {"across", SlotData(puzzle.across)},
      {"down", SlotData(puzzle.down)}};
  const std::string json =
      data.dump(-1, ' ', false, Json::error_handler_t::replace);
  // Outside its strings JSON has none of these characters, so escaping
  // them everywhere keeps the JSON and leaves nothing that could end the
  // script element or open a comment.
  std::string out;
  out.reserve(json.size());
  for (char c : json) {
    switch (c) {
      case '<':
        out += "\\u003c";
        break;
      case '>':
        out += "\\u003e";
        break;
      case '&':
        out += "\\u0026";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string WriteHtml(const NumberedPuzzle& puzzle) {
  return FillTemplate(EmbeddedPageFile("puzzle.html"),
                      {{"title", EscapeMarkup(puzzle.title)},
                       {"style", std::string(EmbeddedPageFile("puzzle.css"))},
                       {"grid", GridTable(puzzle, false)},
                       {"across", ClueItems(puzzle.across, "across")},
                       {"down", ClueItems(puzzle.down, "down")},
                       {"solution", GridTable(puzzle, true)},
                       {"data", PageData(puzzle)},
                       {"script", std::string(EmbeddedPageFile("puzzle.js"))}});
}

}  // namespace polimreza
