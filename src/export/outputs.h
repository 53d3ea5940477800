// The files an export makes of one numbered puzzle, each kind written by one
// function that every program exporting a puzzle shares.
#ifndef POLIMREZA_EXPORT_OUTPUTS_H_
#define POLIMREZA_EXPORT_OUTPUTS_H_

#include <optional>
#include <string>
#include <string_view>

#include "export/html.h"
#include "export/numbering.h"

namespace polimreza {

enum class ExportKind { kHtml, kIpuz, kSvg, kSvgSolution };

// The kind an output option names ("html", "ipuz", "svg", "svg-solution");
// none for any other name.
std::optional<ExportKind> ExportKindNamed(std::string_view name);

// The contents of the file of `kind` for `puzzle`, the page labelled in
// `language`; the page and the ipuz name the puzzle's author.
std::string WriteExport(const NumberedPuzzle& puzzle, ExportKind kind,
                        PageLanguage language);

}  // namespace polimreza

#endif  // POLIMREZA_EXPORT_OUTPUTS_H_
