// The web page of a numbered puzzle: one self-contained file that shows the
// blank grid and the clues, plays in a browser and prints with its solution;
// the page's own words in each language it speaks.
#ifndef POLIMREZA_EXPORT_HTML_H_
#define POLIMREZA_EXPORT_HTML_H_

#include <cstdint>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "export/numbering.h"

namespace polimreza {

// The languages of the page's labels, buttons and messages.
enum class PageLanguage { kSerbian, kEnglish };

// The language of the code `code` ("sr", "en"); none for any other code.
std::optional<PageLanguage> PageLanguageOf(std::string_view code);

// The default title in `language`, Serbian in `script`: "Ukrštenica WxH",
// "Укрштеница WxH", "Crossword WxH".
std::string DefaultTitle(std::uint32_t width, std::uint32_t height,
                         PageLanguage language, Script script = Script::kLatin);

// The page: title, author when there is one, grid, clues (each with its
// length; an empty one as a line to fill) and solution rendered as HTML (so
// it prints without a script), the puzzle as JSON for the embedded script,
// and the embedded style and script, all labelled in `language` (Serbian in
// the puzzle's script).
std::string WriteHtml(const NumberedPuzzle& puzzle,
                      PageLanguage language = PageLanguage::kSerbian);

// The puzzle data the page's script reads: dimensions, letters, numbers,
// slots, what each key types ("typing", as TypingJson gives it) and the
// script's messages in `language`, as JSON in which no '<', '>' or '&'
// appears raw.
std::string PageData(const NumberedPuzzle& puzzle,
                     PageLanguage language = PageLanguage::kSerbian);

// `page` with every "{{name}}" of `values` replaced; the inserted text is
// never searched again.
std::string FillTemplate(std::string_view page,
                         const std::map<std::string, std::string>& values);

// The page whose main part is the embedded `name`, filled with `values`:
// the document around it is page.html, and its "{{board-section}}" the
// board both pages share (board.html), each filled with the same values.
std::string FillPage(std::string_view name,
                     std::map<std::string, std::string> values);

// The puzzle data of PageData as JSON, for a page that adds to it.
nlohmann::ordered_json PageDataJson(const NumberedPuzzle& puzzle,
                                    PageLanguage language);

// `data` as text with no '<', '>' or '&' raw, safe inside a script element.
std::string ScriptSafeJson(const nlohmann::ordered_json& data);

// Every value the page's template names, for a page that replaces some.
std::map<std::string, std::string> PageValues(const NumberedPuzzle& puzzle,
                                              PageLanguage language);

}  // namespace polimreza

#endif  // POLIMREZA_EXPORT_HTML_H_
