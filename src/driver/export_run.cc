#include "driver/export_run.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "export/html.h"
#include "export/ipuz.h"
#include "export/numbering.h"
#include "export/report_reader.h"
#include "export/svg.h"
#include "tool/command_line.h"
#include "tool/messages.h"
#include "tool/output_files.h"

namespace polimreza {
namespace {

constexpr std::string_view kProgram = "polimreza-export";
constexpr int kExitWrite = 1;

// The whole of `name` ("-": standard input); false when it cannot be read.
// Folders and devices are refused: only files and pipes have an end.
bool ReadInput(const std::string& name, std::string& text) {
  std::ostringstream buffer;
  if (name == "-") {
    buffer << std::cin.rdbuf();
    if (std::cin.bad()) return false;
  } else {
    std::error_code error;
    const auto status = std::filesystem::status(name, error);
    if (error || !(std::filesystem::is_regular_file(status) ||
                   std::filesystem::is_fifo(status))) {
      return false;
    }
    std::ifstream in(name, std::ios::binary);
    if (!in) return false;
    buffer << in.rdbuf();
    if (in.bad()) return false;
  }
  text = std::move(buffer).str();
  return true;
}

}  // namespace

int RunExport(int argc, const char* const* argv, std::ostream& out,
              std::ostream& err) {
  CLI::App app(
      "Pretvara izvestaj o resenoj ukrstenici u zagonetku za stampu i igru: "
      "veb stranu, ipuz i SVG.",
      std::string(kProgram));
  SetUpApp(app);
  std::string input;
  std::string html, ipuz, svg, svg_solution, title;
  bool force = false;
  app.add_option("izvestaj", input,
                 "Izvestaj programa Polimreza (- za standardni ulaz)")
      ->required()
      ->type_name("FAJL");
  app.add_option("--html", html, "Veb strana za igru i stampu")
      ->type_name("FAJL");
  app.add_option("--ipuz", ipuz, "Fajl u formatu ipuz")->type_name("FAJL");
  app.add_option("--svg", svg, "Prazna mreza sa brojevima kao SVG")
      ->type_name("FAJL");
  app.add_option("--svg-solution", svg_solution, "Popunjena mreza kao SVG")
      ->type_name("FAJL");
  app.add_option("--title", title,
                 "Naslov (podrazumevano: Ukrstenica SIRINAxVISINA)");
  app.add_flag("-f,--force", force, "Zameni postojece fajlove");
  if (auto status = ParseCommandLine(app, argc, argv, out, err)) {
    return *status;
  }

  const std::vector<std::pair<std::string, std::string>> requested = {
      {"html", html},
      {"ipuz", ipuz},
      {"svg", svg},
      {"svg-solution", svg_solution}};
  std::vector<std::filesystem::path> paths;
  for (const auto& [option, path] : requested) {
    if (path.empty()) continue;
    const auto normal = std::filesystem::path(path).lexically_normal();
    for (const auto& earlier : paths) {
      if (earlier == normal) {
        ReportError(kProgram,
                    "Fajl " + path +
                        " je zadat za dva izlaza\n"
                        "Za pomoc: polimreza-export --help\n",
                    out, err);
        return kExitUsage;
      }
    }
    paths.push_back(normal);
  }
  if (paths.empty()) {
    ReportError(
        kProgram,
        "Nije zadat nijedan izlaz (--html, --ipuz, --svg, --svg-solution)\n"
        "Za pomoc: polimreza-export --help\n",
        out, err);
    return kExitUsage;
  }

  std::string text;
  if (!ReadInput(input, text)) {
    ReportError(kProgram,
                "Ne mogu da procitam " + input + "\nNista nije zapisano\n", out,
                err);
    return kExitUsage;
  }
  auto read = ReadReport(text);
  if (auto* refusal = std::get_if<ReportRefusal>(&read)) {
    std::string where = refusal->line == 0
                            ? ""
                            : " (red " + std::to_string(refusal->line) + ")";
    ReportError(kProgram,
                "Neispravan izvestaj" + where + ": " + refusal->reason +
                    "\nNista nije zapisano\n",
                out, err);
    return kExitUsage;
  }
  const auto& solved = std::get<SolvedPuzzle>(read);
  const NumberedPuzzle puzzle =
      NumberPuzzle(solved, app.count("--title") ? title : DefaultTitle(solved));

  std::vector<OutputFile> files;
  if (!html.empty()) files.push_back({html, WriteHtml(puzzle)});
  if (!ipuz.empty()) files.push_back({ipuz, WriteIpuz(puzzle)});
  if (!svg.empty()) files.push_back({svg, WriteSvg(puzzle, false)});
  if (!svg_solution.empty()) {
    files.push_back({svg_solution, WriteSvg(puzzle, true)});
  }
  const WriteResult result = WriteAll(files, force);
  if (result.status != WriteStatus::kWritten) {
    ReportError(kProgram, DescribeWriteFailure(result), out, err);
    // A file in the way is the user's to resolve, as a usage error is; a
    // failed write is not.
    return result.status == WriteStatus::kCannotWrite ? kExitWrite : kExitUsage;
  }
  out << "Ukrstenica " << puzzle.width << "x" << puzzle.height
      << ": vodoravnih reci " << puzzle.across.size() << ", uspravnih reci "
      << puzzle.down.size() << "\n";
  for (const auto& file : files) {
    out << "Zapisano: " << file.path.string() << "\n";
  }
  return kExitOk;
}

}  // namespace polimreza
