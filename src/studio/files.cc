#include "studio/files.h"

#include <algorithm>
#include <map>
#include <system_error>

#include "export/html.h"
#include "export/ipuz.h"
#include "export/outputs.h"
#include "export/report_reader.h"
#include "export/skandinavka.h"
#include "grid/pattern_reader.h"
#include "report/report.h"
#include "studio/skandinavka.h"
#include "tool/input_files.h"

namespace polimreza {

std::vector<std::string> ListIpuzFiles(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(".") || !name.ends_with(".ipuz")) continue;
    if (!entry.is_regular_file(error)) continue;
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<ApiError> WriteFiles(const std::vector<OutputFile>& files,
                                   bool overwrite) {
  const WriteResult result = WriteAll(files, overwrite);
  switch (result.status) {
    case WriteStatus::kWritten:
      return std::nullopt;
    case WriteStatus::kExists:
      return ApiError{
          409, "Fajl " + result.path.filename().string() + " vec postoji",
          true};
    case WriteStatus::kNotAFile:
      return ApiError{409, "Na mestu fajla " + result.path.filename().string() +
                               " je nesto sto nije fajl"};
    case WriteStatus::kCannotWrite:
      break;
  }
  return ApiError{500, "Ne mogu da zapisem " + result.path.filename().string()};
}

NumberedPuzzle NumberStudioPuzzle(const SaveRequest& request,
                                  const Alphabet& alphabet) {
  const Grid& grid = request.grid;
  const bool serbian = alphabet.kind() != AlphabetKind::kAscii;
  // A Serbian grid is numbered as a report's is, each square kLetterCell
  // plus its letter, so that the writers learn its letters and script; a
  // square still empty stands in as the first letter until its letter is
  // cleared below.
  SolvedPuzzle solved{grid, request.across, request.down};
  if (serbian) {
    solved.alphabet = alphabet.kind();
    solved.script = alphabet.script();
    for (CellIndex i = 0; i < grid.CellCount(); ++i) {
      const std::int32_t cell = grid.Cell(i);
      if (cell == CELL_BLOCK) continue;
      solved.grid.SetCell(
          i, kLetterCell + (cell == CELL_EMPTY ? 0 : cell - kFirstLetterCode));
    }
  }
  const std::string title =
      request.title.empty()
          ? DefaultTitle(grid.gridWidth(), grid.gridHeight(),
                         PageLanguage::kSerbian, alphabet.script())
          : request.title;
  NumberedPuzzle puzzle = NumberPuzzle(solved, title);
  puzzle.author = DisplayText(request.author_name);
  puzzle.copyright = DisplayText(request.copyright);
  puzzle.author_squares.assign(grid.CellCount(), false);
  for (CellIndex i = 0; i < grid.CellCount(); ++i) {
    const std::int32_t cell = grid.Cell(i);
    if (cell == CELL_BLOCK) continue;
    puzzle.author_squares[i] =
        cell != CELL_EMPTY && request.author.Cell(i) == cell;
    if (cell == CELL_EMPTY) {
      puzzle.letters[i].clear();
    } else if (!serbian) {
      puzzle.letters[i] = std::string(
          alphabet.Name(static_cast<Letter>(cell - kFirstLetterCode)));
    }
  }
  return puzzle;
}

std::string StudioIpuz(const SaveRequest& request, const Alphabet& alphabet) {
  NumberedPuzzle puzzle = NumberStudioPuzzle(request, alphabet);
  // An unfinished puzzle keeps the title as the author left it, none too.
  puzzle.title = DisplayText(request.title);
  // The kind and the clues of a skandinavka go in extension fields of the
  // same file, which ipuz readers leave alone.
  Json ipuz = IpuzJson(puzzle);
  AddSkandinavkaFields(request, ipuz);
  return IpuzText(ipuz);
}

Decoded<std::string> SavePuzzle(const std::filesystem::path& folder,
                                const SaveRequest& request,
                                const Alphabet& alphabet) {
  if (auto error =
          WriteFiles({{folder / request.name, StudioIpuz(request, alphabet)}},
                     request.overwrite)) {
    return *error;
  }
  return Json{{"saved", request.name}}.dump();
}

Decoded<std::string> OpenPuzzle(const std::filesystem::path& folder,
                                const std::string& name,
                                const Alphabet& alphabet) {
  auto read = ReadInput((folder / name).string(), InputRules{});
  if (auto* error = std::get_if<ReadError>(&read)) {
    if (*error == ReadError::kMissing) {
      return ApiError{404, "Fajl " + name + " ne postoji"};
    }
    return ApiError{400, "Ne mogu da procitam " + name};
  }
  auto ipuz = ReadIpuz(std::get<std::string>(read));
  if (auto* message = std::get_if<std::string>(&ipuz)) {
    return ApiError{400, *message};
  }
  const IpuzCrossword& crossword = std::get<IpuzCrossword>(ipuz);
  if (crossword.width > kStudioMaxSize || crossword.height > kStudioMaxSize) {
    return ApiError{400, "Mreza je veca od 100x100"};
  }
  Grid grid(crossword.width, crossword.height);
  Grid author(crossword.width, crossword.height);
  for (CellIndex i = 0; i < grid.CellCount(); ++i) {
    author.SetCell(i, CELL_EMPTY);
    if (crossword.block[i]) continue;
    if (crossword.letters[i].empty()) {
      grid.SetCell(i, CELL_EMPTY);
      continue;
    }
    std::optional<std::string> code =
        DecodeWord(crossword.letters[i], alphabet);
    if (!code || code->size() != 1) {
      return ApiError{400, "U fajlu je znak koji nije slovo azbuke"};
    }
    grid.SetCell(i, static_cast<unsigned char>((*code)[0]));
    if (crossword.author_squares[i]) author.SetCell(i, grid.Cell(i));
  }
  Json reply = {
      {"rows", EncodeRows(grid, alphabet)},
      {"author", EncodeRows(author, alphabet)},
      {"title", crossword.title},
      {"author_name", crossword.author},
      {"copyright", crossword.copyright},
      {"clues", {{"across", crossword.across}, {"down", crossword.down}}}};
  const SavedKind saved = ReadSkandinavkaFields(crossword.document);
  if (saved.kind == PuzzleKind::kSkandinavka) {
    reply["kind"] = "skandinavka";
    reply["squareClues"] = SquareCluesJson(saved.clues);
  }
  return reply.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// Each export file's name ending and kind. The endings keep an export
// apart from the save NAME.ipuz: the page and the blank grid are for print
// ("stampa"), the ipuz holds the finished puzzle ("resenje").
namespace {

constexpr std::pair<std::string_view, ExportKind> kExportFiles[] = {
    {"-stampa.html", ExportKind::kHtml},
    {"-resenje.ipuz", ExportKind::kIpuz},
    {"-stampa.svg", ExportKind::kSvg}};

// `request` with each skandinavka clue in the clue list of its word, where
// the numbering reads it.
SaveRequest WithSquareClues(SaveRequest request) {
  std::map<std::pair<CellIndex, int>, std::size_t> place;
  std::size_t counts[2] = {0, 0};
  for (const Slot& slot : FindSlots(request.grid)) {
    place[{slot.start, slot.direction}] = counts[slot.direction]++;
  }
  request.across.resize(counts[ACROSS]);
  request.down.resize(counts[DOWN]);
  for (const WordClue& clue : request.square_clues) {
    const CellIndex start = request.grid.Index(clue.col, clue.row);
    const auto found = place.find({start, clue.direction});
    if (found == place.end()) continue;
    (clue.direction == ACROSS ? request.across : request.down)[found->second] =
        clue.clue;
  }
  return request;
}

// The page and the SVG of a skandinavka, as polimreza-export --skandinavka
// writes them.
Decoded<std::string> ExportSkandinavka(const std::filesystem::path& folder,
                                       const SaveRequest& request,
                                       const Alphabet& alphabet,
                                       const Hyphenator* hyphenator) {
  NumberedPuzzle puzzle =
      NumberStudioPuzzle(WithSquareClues(request), alphabet);
  if (request.title.empty()) {
    puzzle.title = SkandinavkaTitle(puzzle.width, puzzle.height,
                                    PageLanguage::kSerbian, alphabet.script());
  }
  const auto laid_out = LayOutSkandinavka(request.grid, puzzle, hyphenator);
  if (const auto* refusal = std::get_if<ClueLayoutRefusal>(&laid_out)) {
    return ApiError{400, ClueSquareRefusalLine(request.grid, *refusal)};
  }
  const Skandinavka& skandinavka = std::get<Skandinavka>(laid_out);
  const std::string page = request.name + "-stampa.html";
  const std::string svg = request.name + "-stampa.svg";
  const std::vector<OutputFile> files = {
      {folder / page,
       WriteSkandinavkaHtml(puzzle, skandinavka, PageLanguage::kSerbian)},
      {folder / svg, WriteSkandinavkaSvg(puzzle, skandinavka, false)}};
  if (auto error = WriteFiles(files, request.overwrite)) return *error;
  return Json{{"written", {page, svg}}}.dump();
}

}  // namespace

Decoded<std::string> ExportPuzzle(const std::filesystem::path& folder,
                                  const SaveRequest& request,
                                  const Alphabet& alphabet,
                                  const Hyphenator* hyphenator) {
  if (!request.grid.IsGridFull()) {
    return ApiError{400, "Mreza nije popunjena"};
  }
  if (request.kind == PuzzleKind::kSkandinavka) {
    return ExportSkandinavka(folder, request, alphabet, hyphenator);
  }
  const NumberedPuzzle puzzle = NumberStudioPuzzle(request, alphabet);
  std::vector<OutputFile> files;
  Json written = Json::array();
  for (const auto& [ending, kind] : kExportFiles) {
    const std::string name = request.name + std::string(ending);
    files.push_back(
        {folder / name, WriteExport(puzzle, kind, PageLanguage::kSerbian)});
    written.push_back(name);
  }
  if (auto error = WriteFiles(files, request.overwrite)) return *error;
  return Json{{"written", written}}.dump();
}

}  // namespace polimreza
