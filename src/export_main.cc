// polimreza-export: turns the report of a solved crossword into a puzzle to
// print and play: a web page, an ipuz file and SVG pictures.
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
#include "tool/output_files.h"

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

std::string WriteFailure(const polimreza::WriteResult& result) {
  const std::string name = result.path.string();
  switch (result.status) {
    case polimreza::WriteStatus::kExists:
      return "Fajl " + name + " vec postoji (--force ga zamenjuje)";
    case polimreza::WriteStatus::kNotAFile:
      return name + " postoji, a nije obican fajl";
    default:
      return "Ne mogu da zapisem " + name;
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  CLI::App app(
      "Pretvara izvestaj o resenoj ukrstenici u zagonetku za stampu i igru: "
      "veb stranu, ipuz i SVG.",
      std::string(kProgram));
  polimreza::SetUpApp(app);
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
  if (auto status =
          polimreza::ParseCommandLine(app, argc, argv, std::cout, std::cerr)) {
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
        polimreza::ReportError(kProgram,
                               "Fajl " + path +
                                   " je zadat za dva izlaza\n"
                                   "Za pomoc: polimreza-export --help\n",
                               std::cout, std::cerr);
        return polimreza::kExitUsage;
      }
    }
    paths.push_back(normal);
  }
  if (paths.empty()) {
    polimreza::ReportError(
        kProgram,
        "Nije zadat nijedan izlaz (--html, --ipuz, --svg, --svg-solution)\n"
        "Za pomoc: polimreza-export --help\n",
        std::cout, std::cerr);
    return polimreza::kExitUsage;
  }

  std::string text;
  if (!ReadInput(input, text)) {
    polimreza::ReportError(
        kProgram, "Ne mogu da procitam " + input + "\nNista nije zapisano\n",
        std::cout, std::cerr);
    return polimreza::kExitUsage;
  }
  auto read = polimreza::ReadReport(text);
  if (auto* refusal = std::get_if<polimreza::ReportRefusal>(&read)) {
    std::string where = refusal->line == 0
                            ? ""
                            : " (red " + std::to_string(refusal->line) + ")";
    polimreza::ReportError(kProgram,
                           "Neispravan izvestaj" + where + ": " +
                               refusal->reason + "\nNista nije zapisano\n",
                           std::cout, std::cerr);
    return polimreza::kExitUsage;
  }
  const auto& solved = std::get<polimreza::SolvedPuzzle>(read);
  const polimreza::NumberedPuzzle puzzle = polimreza::NumberPuzzle(
      solved, app.count("--title") ? title : polimreza::DefaultTitle(solved));

  std::vector<polimreza::OutputFile> files;
  if (!html.empty()) files.push_back({html, polimreza::WriteHtml(puzzle)});
  if (!ipuz.empty()) files.push_back({ipuz, polimreza::WriteIpuz(puzzle)});
  if (!svg.empty()) files.push_back({svg, polimreza::WriteSvg(puzzle, false)});
  if (!svg_solution.empty()) {
    files.push_back({svg_solution, polimreza::WriteSvg(puzzle, true)});
  }
  const polimreza::WriteResult result = polimreza::WriteAll(files, force);
  if (result.status != polimreza::WriteStatus::kWritten) {
    polimreza::ReportError(kProgram,
                           WriteFailure(result) + "\nNista nije zapisano\n",
                           std::cout, std::cerr);
    // A file in the way is the user's to resolve, as a usage error is; a
    // failed write is not.
    return result.status == polimreza::WriteStatus::kCannotWrite
               ? kExitWrite
               : polimreza::kExitUsage;
  }
  std::cout << "Ukrstenica " << puzzle.width << "x" << puzzle.height
            << ": vodoravnih reci " << puzzle.across.size()
            << ", uspravnih reci " << puzzle.down.size() << "\n";
  for (const auto& file : files) {
    std::cout << "Zapisano: " << file.path.string() << "\n";
  }
  return polimreza::kExitOk;
}
