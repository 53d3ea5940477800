#include "driver/export_run.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "alphabet/alphabet.h"
#include "alphabet/clue_script.h"
#include "export/html.h"
#include "export/numbering.h"
#include "export/outputs.h"
#include "export/report_reader.h"
#include "export/skandinavka.h"
#include "report/report.h"
#include "tool/command_line.h"
#include "tool/input_files.h"
#include "tool/messages.h"
#include "tool/output_files.h"

namespace polimreza {
namespace {

constexpr std::string_view kProgram = "polimreza-export";
constexpr int kExitWrite = 1;
constexpr std::string_view kNoIpuz =
    "Ipuz nije zapisan: ipuz nema oblik za skandinavku";

// An output asked for on the command line: which (the option's name) and
// where.
struct Requested {
  std::string kind;
  std::filesystem::path path;
};

// The warning for `count` (more than 0) empty clues in `language`; in
// Serbian with the noun and adjective agreeing with the number.
std::string EmptyCluesWarning(std::size_t count, PageLanguage language) {
  if (language == PageLanguage::kEnglish) {
    return std::to_string(count) +
           (count == 1 ? " clue is empty" : " clues are empty");
  }
  const std::size_t last = count % 10, last_two = count % 100;
  const char* words = "opisa je prazno";
  if (last == 1 && last_two != 11) {
    words = "opis je prazan";
  } else if (last >= 2 && last <= 4 && (last_two < 12 || last_two > 14)) {
    words = "opisa su prazna";
  }
  return std::to_string(count) + " " + words;
}

// `author` as the puzzle shows it: in `script` when the puzzle is converted
// to it, as the title is.
std::string AuthorText(const std::string& author, AlphabetKind alphabet,
                       std::optional<Script> script) {
  if (alphabet == AlphabetKind::kAscii || !script) return DisplayText(author);
  std::string converted;
  ConvertClueScript(author, *script, converted);
  return DisplayText(converted);
}

// What the command line asks of the puzzle besides its files.
struct PuzzleOptions {
  std::optional<std::string> title;  // none: the default title
  std::string author;                // empty: none
  std::string copyright;             // empty: none
  PageLanguage language = PageLanguage::kSerbian;
  std::optional<AlphabetKind> alphabet;  // none: the one the grid shows
  std::optional<Script> script;          // none: the grid's
  bool skandinavka = false;              // the blocks are clue squares
};

// The puzzle of the report in `input` ("-": `in`), numbered and named as
// `options` ask; the exit status, the refusal reported, when there is none.
std::variant<NumberedPuzzle, int> ReadPuzzle(const std::string& input,
                                             const PuzzleOptions& options,
                                             std::istream& in,
                                             std::ostream& out,
                                             std::ostream& err, Grid& grid) {
  const std::optional<AlphabetKind>& alphabet = options.alphabet;
  const std::optional<Script>& script = options.script;
  // Only files and pipes have an end: folders and devices are refused.
  auto read =
      ReadInput(input, InputRules{.pipes = true, .standard_input = &in});
  if (auto* error = std::get_if<ReadError>(&read)) {
    if (*error == ReadError::kOutOfMemory) throw std::bad_alloc();
    ReportError(
        kProgram,
        "Ne mogu da procitam " + input + "\n" + std::string(kNothingWritten),
        out, err);
    return kExitUsage;
  }
  const std::string& text = std::get<std::string>(read);
  auto report = ReadReport(text, alphabet);
  // Asked for a script, a grid of A-Z alone is Serbian Latin.
  if (const auto* solved = std::get_if<SolvedPuzzle>(&report);
      solved && !alphabet && script &&
      solved->alphabet == AlphabetKind::kAscii) {
    report = ReadReport(text, AlphabetKind::kSerbianLatin);
  }
  if (auto* refusal = std::get_if<ReportRefusal>(&report)) {
    std::string where = refusal->line == 0
                            ? ""
                            : " (red " + std::to_string(refusal->line) + ")";
    ReportError(kProgram,
                "Neispravan izvestaj" + where + ": " + refusal->reason + "\n" +
                    std::string(kNothingWritten),
                out, err);
    return kExitUsage;
  }
  const auto& solved = std::get<SolvedPuzzle>(report);
  grid = solved.grid;
  NumberedPuzzle puzzle =
      NumberPuzzle(solved, options.title.value_or(""), script);
  // The default title is written in the puzzle's final script, not
  // converted to it letter by letter.
  if (!options.title) {
    puzzle.title = options.skandinavka
                       ? SkandinavkaTitle(puzzle.width, puzzle.height,
                                          options.language, puzzle.script)
                       : DefaultTitle(puzzle.width, puzzle.height,
                                      options.language, puzzle.script);
  }
  puzzle.author = AuthorText(options.author, solved.alphabet, script);
  puzzle.copyright = DisplayText(options.copyright);
  return puzzle;
}

// Writes `files`; the exit status, the failure reported, when not all are
// written.
std::optional<int> WriteFiles(const std::vector<OutputFile>& files, bool force,
                              std::ostream& out, std::ostream& err) {
  const WriteResult result = WriteAll(files, force);
  if (result.status == WriteStatus::kWritten) return std::nullopt;
  ReportError(kProgram, DescribeWriteFailure(result), out, err);
  // A file in the way is the user's to resolve, as a usage error is; a
  // failed write is not.
  const bool in_the_way =
      result.unrestored.empty() && result.status != WriteStatus::kCannotWrite;
  return in_the_way ? kExitUsage : kExitWrite;
}

// The warning for a clue that does not fit its square, in `language`.
std::string LongClueWarning(const SquareClue& clue, std::uint32_t width,
                            PageLanguage language) {
  const std::string length = std::to_string(CharacterCount(clue.clue));
  const bool across = clue.direction == ACROSS;
  if (language == PageLanguage::kEnglish) {
    return "the clue in square " + SquarePlace(clue.square, width) +
           " for the " + (across ? "across" : "down") + " word, " + length +
           " characters, does not fit in " + std::to_string(kClueMaxLines) +
           " lines";
  }
  return "opis u polju " + SquarePlace(clue.square, width) + " za rec " +
         (across ? "vodoravno" : "uspravno") + ", " + length +
         " znakova, ne staje u " + std::to_string(kClueMaxLines) + " redova";
}

// The warnings of a skandinavka on `err`: clues that do not fit their
// squares, empty clues of words, and hyphenation patterns that are missing.
void SkandinavkaWarnings(const NumberedPuzzle& puzzle,
                         const Skandinavka& skandinavka,
                         const Hyphenator& hyphenator, PageLanguage language,
                         std::ostream& err) {
  for (const std::string& file : hyphenator.Missing()) {
    err << kProgram << ": "
        << (language == PageLanguage::kEnglish
                ? "no hyphenation patterns in " + file
                : "nema pravila za deljenje reci u " + file)
        << "\n";
  }
  std::size_t empty = 0;
  for (const SquareClue& clue : skandinavka.clues) {
    if (IsEmptyClue(clue.clue)) ++empty;
    if (!clue.lines.fits || Overfull(skandinavka, clue.square)) {
      err << kProgram << ": " << LongClueWarning(clue, puzzle.width, language)
          << "\n";
    }
  }
  if (empty != 0) {
    err << kProgram << ": " << EmptyCluesWarning(empty, language) << "\n";
  }
}

// The export of a skandinavka: its clue squares laid out, or refused, and
// the page and pictures written; ipuz, which has no arrowword kind, never.
int ExportSkandinavka(const Grid& grid, const NumberedPuzzle& puzzle,
                      const std::vector<Requested>& requested,
                      const PuzzleOptions& options, bool force,
                      std::ostream& out, std::ostream& err) {
  const std::unique_ptr<Hyphenator> hyphenator = Hyphenator::Serbian();
  auto laid_out = LayOutSkandinavka(grid, puzzle, hyphenator.get());
  if (const auto* refusal = std::get_if<ClueLayoutRefusal>(&laid_out)) {
    ReportError(kProgram, ClueSquareRefusal(grid, *refusal), out, err);
    return kExitUsage;
  }
  const Skandinavka& skandinavka = std::get<Skandinavka>(laid_out);
  std::vector<OutputFile> files;
  bool ipuz = false;
  for (const Requested& file : requested) {
    const ExportKind kind = *ExportKindNamed(file.kind);
    if (kind == ExportKind::kIpuz) {
      ipuz = true;
    } else if (kind == ExportKind::kHtml) {
      files.push_back({file.path, WriteSkandinavkaHtml(puzzle, skandinavka,
                                                       options.language)});
    } else {
      files.push_back(
          {file.path, WriteSkandinavkaSvg(puzzle, skandinavka,
                                          kind == ExportKind::kSvgSolution)});
    }
  }
  if (auto status = WriteFiles(files, force, out, err)) return *status;
  out << "Skandinavka " << puzzle.width << "x" << puzzle.height
      << ": vodoravnih reci " << skandinavka.across_words << ", uspravnih reci "
      << skandinavka.down_words << "\n";
  for (const auto& file : files) {
    out << "Zapisano: " << file.path.string() << "\n";
  }
  if (ipuz) out << std::string(kNoIpuz) << "\n";
  SkandinavkaWarnings(puzzle, skandinavka, *hyphenator, options.language, err);
  return kExitOk;
}

// Everything the run does once the command line is read: reading the
// report from `input` ("-": `in`), and writing the requested files.
int Export(const std::string& input, const std::vector<Requested>& requested,
           const PuzzleOptions& options, bool force, std::istream& in,
           std::ostream& out, std::ostream& err) {
  Grid grid;
  auto read = ReadPuzzle(input, options, in, out, err, grid);
  if (const int* status = std::get_if<int>(&read)) return *status;
  const NumberedPuzzle& puzzle = std::get<NumberedPuzzle>(read);
  if (options.skandinavka) {
    return ExportSkandinavka(grid, puzzle, requested, options, force, out, err);
  }
  const PageLanguage language = options.language;

  std::vector<OutputFile> files;
  for (const Requested& file : requested) {
    files.push_back({file.path, WriteExport(puzzle, *ExportKindNamed(file.kind),
                                            language)});
  }
  if (auto status = WriteFiles(files, force, out, err)) return *status;
  out << "Ukrstenica " << puzzle.width << "x" << puzzle.height
      << ": vodoravnih reci " << puzzle.across.size() << ", uspravnih reci "
      << puzzle.down.size() << "\n";
  for (const auto& file : files) {
    out << "Zapisano: " << file.path.string() << "\n";
  }
  if (const std::size_t empty = EmptyClueCount(puzzle); empty != 0) {
    err << kProgram << ": " << EmptyCluesWarning(empty, language) << "\n";
  }
  return kExitOk;
}

// The command line as read: the report, each output's path (empty: not
// asked for) and the options about the puzzle.
struct Command {
  std::string input;
  std::vector<Requested> outputs = {
      {"html", ""}, {"ipuz", ""}, {"svg", ""}, {"svg-solution", ""}};
  std::string title;
  std::string author;
  std::string copyright;
  std::string lang = "sr";
  std::string alphabet_name = "auto";
  std::string script_name;
  bool force = false;
  bool skandinavka = false;
};

// The report and the outputs: where `command` takes them from.
void AddFileOptions(CLI::App& app, Command& command) {
  app.add_option("izvestaj", command.input,
                 "Izvestaj programa Polimreza (- za standardni ulaz)")
      ->required()
      ->type_name("FAJL");
  const char* descriptions[] = {
      "Veb strana za igru i stampu", "Fajl u formatu ipuz",
      "Prazna mreza sa brojevima kao SVG", "Popunjena mreza kao SVG"};
  for (std::size_t k = 0; k < command.outputs.size(); ++k) {
    Requested& output = command.outputs[k];
    app.add_option(
           "--" + output.kind,
           [&output](const CLI::results_t& results) {
             output.path = results.back();
             return true;
           },
           descriptions[k])
        ->type_name("FAJL");
  }
}

// What the puzzle is called, by whom, in which language, alphabet and
// script, and whether files are replaced.
void AddPuzzleOptions(CLI::App& app, Command& command) {
  app.add_option(
      "--title", command.title,
      "Naslov (podrazumevano: Ukrstenica SIRINAxVISINA, uz --lang en "
      "Crossword SIRINAxVISINA)");
  app.add_option("--author", command.author,
                 "Ime autora, na veb strani i u ipuz fajlu")
      ->type_name("IME");
  app.add_option("--copyright", command.copyright,
                 "Red o autorskim pravima (na primer: (c) 2026 Ime)");
  app.add_option("--lang", command.lang,
                 "Jezik natpisa veb strane, podrazumevanog naslova i "
                 "upozorenja: sr (podrazumevano) ili en")
      ->type_name("JEZIK")
      ->check(CLI::IsMember({"sr", "en"}).description(""));
  app.add_option("--alphabet", command.alphabet_name,
                 "Alfabet mreze: auto (podrazumevano: kako mreza pokazuje), " +
                     HelpAlphabets())
      ->type_name("ALFABET")
      ->check(CLI::IsMember({"auto", "ascii", "sr-latn", "sr-cyrl"})
                  .description(""));
  app.add_option("--script", command.script_name,
                 "Pismo srpske ukrstenice, sa tragovima i naslovom: latn "
                 "(latinica) ili cyrl (cirilica)")
      ->type_name("PISMO")
      ->check(CLI::IsMember({"latn", "cyrl"}).description(""));
  app.add_flag("--skandinavka", command.skandinavka,
               "Izvestaj je skandinavka: opisi u crnim poljima, sa strelicama "
               "(bez ipuz fajla)");
  app.add_flag("-f,--force", command.force, "Zameni postojece fajlove");
}

// Why the parsed `command` cannot run (the message's first line); none
// when it can. Leaves only the outputs asked for in `command`.
std::optional<std::string> CommandProblem(Command& command) {
  std::erase_if(command.outputs,
                [](const Requested& output) { return output.path.empty(); });
  std::vector<std::filesystem::path> paths;
  for (const Requested& output : command.outputs) {
    const auto normal = output.path.lexically_normal();
    if (std::find(paths.begin(), paths.end(), normal) != paths.end()) {
      return "Fajl " + output.path.string() + " je zadat za dva izlaza";
    }
    paths.push_back(normal);
  }
  if (!command.script_name.empty() && command.alphabet_name == "ascii") {
    return "--script vazi samo za srpski alfabet (sr-latn ili sr-cyrl)";
  }
  if (paths.empty()) {
    return "Nije zadat nijedan izlaz (--html, --ipuz, --svg, --svg-solution)";
  }
  if (command.skandinavka && command.outputs.size() == 1 &&
      command.outputs.front().kind == "ipuz") {
    return "Skandinavka nema ipuz oblik (ipuz ne poznaje opise u mrezi); "
           "zadajte --html, --svg ili --svg-solution";
  }
  return std::nullopt;
}

// The program, short of running out of memory.
int ParseAndExport(int argc, const char* const* argv, std::istream& in,
                   std::ostream& out, std::ostream& err) {
  CLI::App app(
      "Pretvara izvestaj o resenoj ukrstenici u zagonetku za stampu i igru: "
      "veb stranu, ipuz i SVG.",
      std::string(kProgram));
  SetUpApp(app);
  Command command;
  AddFileOptions(app, command);
  AddPuzzleOptions(app, command);
  if (auto status = ParseCommandLine(app, argc, argv, out, err)) {
    return *status;
  }
  if (std::optional<std::string> problem = CommandProblem(command)) {
    ReportError(kProgram, *problem + "\nZa pomoc: polimreza-export --help\n",
                out, err);
    return kExitUsage;
  }
  std::optional<Script> script;
  if (!command.script_name.empty()) {
    script = command.script_name == "latn" ? Script::kLatin : Script::kCyrillic;
  }
  PuzzleOptions options{.title = std::nullopt,
                        .author = command.author,
                        .copyright = command.copyright,
                        .language = *PageLanguageOf(command.lang),
                        .alphabet = command.alphabet_name == "auto"
                                        ? std::nullopt
                                        : AlphabetNamed(command.alphabet_name),
                        .script = script,
                        .skandinavka = command.skandinavka};
  if (app.count("--title")) options.title = command.title;
  return Export(command.input, command.outputs, options, command.force, in, out,
                err);
}

}  // namespace

int RunExport(int argc, const char* const* argv, std::istream& in,
              std::ostream& out, std::ostream& err) {
  int status;
  try {
    status = ParseAndExport(argc, argv, in, out, err);
  } catch (const std::bad_alloc&) {
    ReportError(kProgram,
                std::string(kOutOfMemory) + std::string(kNothingWritten), out,
                err);
    status = kExitWrite;
  }
  out.flush();
  return status;
}

}  // namespace polimreza