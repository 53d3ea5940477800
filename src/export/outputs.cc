#include "export/outputs.h"

#include "export/ipuz.h"
#include "export/svg.h"

namespace polimreza {

std::optional<ExportKind> ExportKindNamed(std::string_view name) {
  if (name == "html") return ExportKind::kHtml;
  if (name == "ipuz") return ExportKind::kIpuz;
  if (name == "svg") return ExportKind::kSvg;
  if (name == "svg-solution") return ExportKind::kSvgSolution;
  return std::nullopt;
}

std::string WriteExport(const NumberedPuzzle& puzzle, ExportKind kind,
                        PageLanguage language) {
  switch (kind) {
    case ExportKind::kHtml:
      return WriteHtml(puzzle, language);
    case ExportKind::kIpuz:
      return WriteIpuz(puzzle, {.author = puzzle.author, .author_squares = {}});
    case ExportKind::kSvg:
      return WriteSvg(puzzle, false);
    case ExportKind::kSvgSolution:
      return WriteSvg(puzzle, true);
  }
  return "";
}

}  // namespace polimreza
