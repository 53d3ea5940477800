#include "export/html.h"

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>

#include "alphabet/typing.h"
#include "export/page_files.h"

namespace polimreza {

namespace {

// An embedded part of a page without its last line feed, which is the
// template's, after the part's placeholder.
std::string_view PagePart(std::string_view name) {
  std::string_view part = EmbeddedPageFile(name);
  if (part.ends_with('\n')) part.remove_suffix(1);
  return part;
}

}  // namespace

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

std::string FillPage(std::string_view name,
                     std::map<std::string, std::string> values) {
  values["board-section"] = FillTemplate(PagePart("board.html"), values);
  values["main"] = FillTemplate(PagePart(name), values);
  return FillTemplate(EmbeddedPageFile("page.html"), values);
}

namespace {

using Json = nlohmann::ordered_json;

// The page's own words in one language and script. The template names the
// HTML ones as "{{key}}"; the script's ones travel in the puzzle data.
struct PageLabels {
  std::string_view html_lang;
  std::string_view crossword;
  std::map<std::string, std::string_view> html;
  std::map<std::string, std::string_view> script;
  std::string_view grid;
  std::string_view solution_grid;
  std::string_view row;
  std::string_view column;
  std::string_view number;
  std::string_view author;
};

const PageLabels kSerbianLatin = {
    .html_lang = "sr-Latn",
    .crossword = "Ukrštenica",
    .html = {{"board", "Ukrštenica"},
             {"controls", "Provera i otkrivanje"},
             {"check-cell", "Proveri polje"},
             {"check-slot", "Proveri reč"},
             {"check-grid", "Proveri sve"},
             {"reveal-cell", "Otkrij polje"},
             {"reveal-slot", "Otkrij reč"},
             {"reveal-grid", "Otkrij sve"},
             {"clear", "Obriši sve"},
             {"help",
              "Kliknite polje i kucajte slova. Strelice pomeraju, Tab i "
              "Shift+Tab idu na sledeću i prethodnu reč, razmak ili drugi "
              "klik menja smer, Backspace briše."},
             {"clues", "Tragovi"},
             {"across-title", "Vodoravno"},
             {"down-title", "Uspravno"},
             {"solution-title", "Rešenje"}},
    .script = {{"across", "vodoravno"},
               {"down", "uspravno"},
               {"solved", "Čestitamo! Ukrštenica je rešena."},
               {"none-wrong", "Nema pogrešnih slova."},
               {"wrong", "Pogrešnih slova: "},
               {"cleared", "Mreža je obrisana."}},
    .grid = "Mreža ",
    .solution_grid = "Rešenje, mreža ",
    .row = "Red ",
    .column = ", kolona ",
    .number = ", broj ",
    .author = "Autor: "};

// The same words in Cyrillic; the names of keys stay as the keyboard shows
// them.
const PageLabels kSerbianCyrillic = {
    .html_lang = "sr-Cyrl",
    .crossword = "Укрштеница",
    .html = {{"board", "Укрштеница"},
             {"controls", "Провера и откривање"},
             {"check-cell", "Провери поље"},
             {"check-slot", "Провери реч"},
             {"check-grid", "Провери све"},
             {"reveal-cell", "Откриј поље"},
             {"reveal-slot", "Откриј реч"},
             {"reveal-grid", "Откриј све"},
             {"clear", "Обриши све"},
             {"help",
              "Кликните поље и куцајте слова. Стрелице померају, Tab и "
              "Shift+Tab иду на следећу и претходну реч, размак или други "
              "клик мења смер, Backspace брише."},
             {"clues", "Трагови"},
             {"across-title", "Водоравно"},
             {"down-title", "Усправно"},
             {"solution-title", "Решење"}},
    .script = {{"across", "водоравно"},
               {"down", "усправно"},
               {"solved", "Честитамо! Укрштеница је решена."},
               {"none-wrong", "Нема погрешних слова."},
               {"wrong", "Погрешних слова: "},
               {"cleared", "Мрежа је обрисана."}},
    .grid = "Мрежа ",
    .solution_grid = "Решење, мрежа ",
    .row = "Ред ",
    .column = ", колона ",
    .number = ", број ",
    .author = "Аутор: "};

const PageLabels kEnglish = {
    .html_lang = "en",
    .crossword = "Crossword",
    .html = {{"board", "Crossword"},
             {"controls", "Check and reveal"},
             {"check-cell", "Check square"},
             {"check-slot", "Check word"},
             {"check-grid", "Check all"},
             {"reveal-cell", "Reveal square"},
             {"reveal-slot", "Reveal word"},
             {"reveal-grid", "Reveal all"},
             {"clear", "Clear all"},
             {"help",
              "Click a square and type letters. The arrow keys move, Tab "
              "and Shift+Tab go to the next and previous word, Space or a "
              "second click turns the direction, Backspace clears."},
             {"clues", "Clues"},
             {"across-title", "Across"},
             {"down-title", "Down"},
             {"solution-title", "Solution"}},
    .script = {{"across", "across"},
               {"down", "down"},
               {"solved", "Congratulations! The crossword is solved."},
               {"none-wrong", "No wrong letters."},
               {"wrong", "Wrong letters: "},
               {"cleared", "The grid is cleared."}},
    .grid = "Grid ",
    .solution_grid = "Solution, grid ",
    .row = "Row ",
    .column = ", column ",
    .number = ", number ",
    .author = "By "};

// English whatever the script; Serbian in the puzzle's script.
const PageLabels& LabelsFor(PageLanguage language, Script script) {
  if (language == PageLanguage::kEnglish) return kEnglish;
  return script == Script::kCyrillic ? kSerbianCyrillic : kSerbianLatin;
}

std::string Cell(std::size_t i) { return std::to_string(i); }

// How many characters the UTF-8 `text` has.
std::size_t Utf8Length(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(
      text.begin(), text.end(), [](char c) { return (c & 0xc0) != 0x80; }));
}

// The grid as a table: with `solution` the letters, otherwise one input per
// open square.
std::string GridTable(const NumberedPuzzle& puzzle, bool solution,
                      const PageLabels& labels) {
  const std::string size =
      std::to_string(puzzle.width) + " x " + std::to_string(puzzle.height);
  std::string out = "<table class=\"grid" +
                    std::string(solution ? " key\"" : "\" id=\"grid\"") +
                    " style=\"--cols:" + std::to_string(puzzle.width) +
                    "\" aria-label=\"" +
                    std::string(solution ? labels.solution_grid : labels.grid) +
                    size + "\">\n";
  for (std::size_t row = 0; row < puzzle.height; ++row) {
    out += "<tr>";
    for (std::size_t column = 0; column < puzzle.width; ++column) {
      const std::size_t i = column + row * puzzle.width;
      if (puzzle.block[i]) {
        out += "<td class=\"block\"></td>";
        continue;
      }
      out += "<td class=\"sq\">";
      std::string label = std::string(labels.row) + std::to_string(row + 1) +
                          std::string(labels.column) +
                          std::to_string(column + 1);
      if (puzzle.numbers[i] != 0) {
        out += "<span class=\"num\" aria-hidden=\"true\">" +
               std::to_string(puzzle.numbers[i]) + "</span>";
        label += std::string(labels.number) + std::to_string(puzzle.numbers[i]);
      }
      if (solution) {
        const bool wide = Utf8Length(puzzle.letters[i]) > 1;
        out += std::string("<span class=\"letter") + (wide ? " wide" : "") +
               "\">" + EscapeMarkup(puzzle.letters[i]) + "</span>";
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

// The clue list of one direction: number, clue (an empty one as a line to
// fill) and the word's length.
std::string ClueItems(const std::vector<NumberedSlot>& slots,
                      std::string_view direction) {
  std::string out;
  for (std::size_t k = 0; k < slots.size(); ++k) {
    const std::string number = std::to_string(slots[k].number);
    const std::string text = IsEmptyClue(slots[k].clue)
                                 ? "<span class=\"blank\"></span>"
                                 : EscapeMarkup(slots[k].clue);
    out += "<li id=\"" + std::string(direction) + "-" + std::to_string(k) +
           "\" data-slot=\"" + std::to_string(k) + "\"><span class=\"n\">" +
           number + ".</span> " + text + " <span class=\"len\">(" +
           std::to_string(slots[k].cells.size()) + ")</span></li>\n";
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

// What a solver may type: a Serbian puzzle's letters, or A to Z and every
// other letter of the solution (not U+FFFD, which stands for bytes that were
// no text).
std::vector<std::string> TypedLetters(const NumberedPuzzle& puzzle) {
  if (!puzzle.alphabet.empty()) return puzzle.alphabet;
  std::vector<std::string> letters;
  for (char c = 'A'; c <= 'Z'; ++c) letters.emplace_back(1, c);
  for (std::size_t i = 0; i < puzzle.letters.size(); ++i) {
    const std::string& letter = puzzle.letters[i];
    if (puzzle.block[i] || letter == "\xef\xbf\xbd") continue;
    if (std::find(letters.begin(), letters.end(), letter) == letters.end()) {
      letters.push_back(letter);
    }
  }
  return letters;
}

// How the keys type the puzzle: a Serbian puzzle's from either script's
// keyboard with the pairs that join into one letter; an ascii puzzle's
// letters each typed as itself.
Json Typing(const NumberedPuzzle& puzzle) {
  if (!puzzle.alphabet.empty()) {
    return TypingJson(
        TypingTableFor(Alphabet(puzzle.alphabet_kind), puzzle.script));
  }
  TypingTable table;
  for (const std::string& letter : TypedLetters(puzzle)) {
    table.keys.emplace_back(letter, letter);
  }
  return TypingJson(table);
}

}  // namespace

std::optional<PageLanguage> PageLanguageOf(std::string_view code) {
  if (code == "sr") return PageLanguage::kSerbian;
  if (code == "en") return PageLanguage::kEnglish;
  return std::nullopt;
}

std::string DefaultTitle(std::uint32_t width, std::uint32_t height,
                         PageLanguage language, Script script) {
  return std::string(LabelsFor(language, script).crossword) + " " +
         std::to_string(width) + "x" + std::to_string(height);
}

nlohmann::ordered_json PageDataJson(const NumberedPuzzle& puzzle,
                                    PageLanguage language) {
  Json letters = Json::array();
  for (std::size_t i = 0; i < puzzle.block.size(); ++i) {
    if (puzzle.block[i]) {
      letters.push_back(nullptr);
    } else {
      letters.push_back(puzzle.letters[i]);
    }
  }
  Json labels = Json::object();
  for (const auto& [key, text] : LabelsFor(language, puzzle.script).script) {
    labels[key] = text;
  }
  return {{"title", puzzle.title},         {"width", puzzle.width},
          {"height", puzzle.height},       {"letters", std::move(letters)},
          {"numbers", puzzle.numbers},     {"across", SlotData(puzzle.across)},
          {"down", SlotData(puzzle.down)}, {"typing", Typing(puzzle)},
          {"labels", std::move(labels)}};
}

std::string ScriptSafeJson(const nlohmann::ordered_json& data) {
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

std::string PageData(const NumberedPuzzle& puzzle, PageLanguage language) {
  return ScriptSafeJson(PageDataJson(puzzle, language));
}

std::map<std::string, std::string> PageValues(const NumberedPuzzle& puzzle,
                                              PageLanguage language) {
  const PageLabels& labels = LabelsFor(language, puzzle.script);
  std::map<std::string, std::string> values = {
      {"lang", std::string(labels.html_lang)},
      {"title", EscapeMarkup(puzzle.title)},
      {"author",
       puzzle.author.empty()
           ? ""
           : "<p class=\"author\">" +
                 EscapeMarkup(std::string(labels.author) + puzzle.author) +
                 "</p>\n"},
      {"style", std::string(EmbeddedPageFile("puzzle.css"))},
      {"grid", GridTable(puzzle, false, labels)},
      {"across", ClueItems(puzzle.across, "across")},
      {"down", ClueItems(puzzle.down, "down")},
      {"solution", GridTable(puzzle, true, labels)},
      {"data", PageData(puzzle, language)},
      // The board's core, shared with the studio, goes before the page's
      // own script in the one inline script.
      {"script", std::string(EmbeddedPageFile("board_core.js")) +
                     std::string(EmbeddedPageFile("puzzle.js"))}};
  for (const auto& [key, text] : labels.html) {
    values.emplace(key, EscapeMarkup(text));
  }
  return values;
}

std::string WriteHtml(const NumberedPuzzle& puzzle, PageLanguage language) {
  return FillPage("puzzle.html", PageValues(puzzle, language));
}

}  // namespace polimreza
