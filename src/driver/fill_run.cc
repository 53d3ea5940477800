#include "driver/fill_run.h"

#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <sstream>
#include <string>
#include <variant>

#include "alphabet/clue_script.h"
#include "dictionary/folding.h"
#include "grid/clue_squares.h"
#include "grid/clue_table.h"
#include "grid/grid.h"
#include "grid/pattern_reader.h"
#include "report/alphabet_spellings.h"
#include "report/quality.h"
#include "report/report.h"
#include "search/placement.h"
#include "search/queries.h"
#include "search/search.h"
#include "tool/command_line.h"
#include "tool/input_files.h"
#include "wordlist/alphabet_lists.h"
#include "wordlist/scores.h"
#include "wordlist/word_list.h"

namespace polimreza {
namespace {

constexpr std::string_view kProgram = "polimreza-fill";

// The progress line: drawn after half a second of search, at most ten times
// a second, and erased at the end.
class ProgressLine {
 public:
  ProgressLine(std::ostream& err, bool enabled)
      : err_(err), enabled_(enabled) {}
  ~ProgressLine() {
    if (width_ == 0) return;
    err_ << '\r' << std::string(width_, ' ') << '\r';
    err_.flush();
  }

  void Draw(double elapsed, const SearchProgress& progress) {
    if (!enabled_ || elapsed < 0.5 || elapsed - drawn_ < 0.1) return;
    drawn_ = elapsed;
    char line[160];
    std::snprintf(line, sizeof line,
                  "Trazim: %.1f s, popunjeno %zu od %zu reci, %.0f cvorova/s",
                  elapsed, progress.filled, progress.slots,
                  static_cast<double>(progress.nodes) / elapsed);
    std::string text = line;
    const std::size_t width = text.size();
    if (text.size() < width_) text.append(width_ - text.size(), ' ');
    width_ = std::max(width_, width);
    err_ << '\r' << text;
    err_.flush();
  }

 private:
  std::ostream& err_;
  bool enabled_;
  double drawn_ = 0;
  std::size_t width_ = 0;
};

// `seconds` as the help shows a default: "60", "0.5".
std::string FormatSeconds(double seconds) {
  std::ostringstream text;
  text << seconds;
  return text.str();
}

// Shows `message` as an input error and gives the status for it.
int InputError(std::string_view message, std::ostream& out, std::ostream& err) {
  ReportError(kProgram, message, out, err);
  return kExitUsage;
}

// The scores of settings.scores read in `alphabet`, with a warning on `err`
// for the lines left out; none when there are no scores or no line is left.
std::optional<ScoreTable> ReadScores(const Alphabet& alphabet,
                                     const FillSettings& settings,
                                     std::ostream& err) {
  if (!settings.scores) return std::nullopt;
  ScoreTable table = ReadScoreTable(*settings.scores, alphabet);
  if (const std::string warning = ScoresWarning(table, alphabet);
      !warning.empty()) {
    err << kProgram << ": " << warning << "\n";
  }
  if (table.Unusable()) return std::nullopt;
  return table;
}

// Makes the search keep weak words from crossing: a word is weak when it
// scores below the --weak bound, a word `scores` does not hold scoring 0 as
// in the quality report. Without scores, warns on `err` that no word is
// weak.
void ForbidWeakCrossings(const std::optional<ScoreTable>& scores,
                         const FillSettings& settings, SearchOptions& options,
                         std::ostream& err) {
  if (!scores) {
    err << kProgram << ": upozorenje: bez ocena iz " << kScoresFileName
        << " nijedna rec nije slaba: --no-weak-crossings nema sta da "
           "zabrani\n";
    return;
  }
  const int weak_below = settings.weak.value_or(kDefaultWeakBelow);
  options.weak = [&table = scores->words, weak_below,
                  key = std::string()](std::string_view word) mutable {
    key.assign(word);
    const auto found = table.find(key);
    return found == table.end() || found->second.score < weak_below;
  };
}

// The run; the quality report, when asked for, goes to `quality`, to be
// shown once the progress line is erased.
int Fill(std::istream& pattern, const ListOpener& opener,
         const FillSettings& settings, std::ostream& out, std::ostream& err,
         std::ostringstream& quality) {
  const auto start = std::chrono::steady_clock::now();
  std::shared_ptr<const Alphabet> alphabet;
  CellSpellings spellings = IdentitySpellings();
  LoadedPattern loaded;
  if (settings.alphabet == AlphabetKind::kAscii) {
    loaded = LoadPattern(pattern);
  } else {
    alphabet = std::make_shared<const Alphabet>(settings.alphabet);
    spellings = AlphabetCellSpellings(
        *alphabet, settings.script.value_or(alphabet->script()));
    loaded = LoadAlphabetPattern(pattern, *alphabet);
  }
  if (loaded.refusal && loaded.refusal->kind == PatternRefusalKind::kTooLarge) {
    return InputError(NoMemoryRefusal(), out, err);
  }
  PrintDimensions(out, loaded.width, loaded.height);
  if (loaded.refusal) return InputError(IllegalCharacterRefusal(), out, err);
  Grid& grid = loaded.grid;
  if (std::optional<Slot> slot = FindLongSlot(grid, kMaxEntryLength)) {
    return InputError(LongSlotRefusal(grid, *slot, kMaxEntryLength), out, err);
  }
  if (settings.skandinavka) {
    const auto layout = PlaceClues(grid);
    if (const auto* refusal = std::get_if<ClueLayoutRefusal>(&layout)) {
      return InputError(ClueSquareRefusal(grid, *refusal), out, err);
    }
  }

  const Alphabet ascii(AlphabetKind::kAscii);
  const Alphabet& letters = alphabet ? *alphabet : ascii;
  WordLists lists(
      settings.skandinavka ? AnyLetterSingles(opener, letters) : opener,
      alphabet ? AlphabetWordEncoder(alphabet) : WordEncoder());
  SearchLexicons lexicons(lists);
  if (!settings.exclude.empty()) {
    std::istringstream exclude(settings.exclude);
    lexicons.SetExcluded(ReadWordSet(exclude, letters));
  }
  // Read once, before the search when it keeps weak words apart.
  std::optional<ScoreTable> scores;
  SearchOptions options;
  if (settings.no_weak_crossings) {
    scores = ReadScores(letters, settings, err);
    ForbidWeakCrossings(scores, settings, options, err);
  }
  ProgressLine progress(err, settings.progress);
  options.allow_repeats = settings.allow_repeats;
  options.seed = settings.seed;
  options.stop = [&](const SearchProgress& state) {
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
            .count();
    progress.Draw(elapsed, state);
    return elapsed >= settings.time_limit;
  };
  const SearchResult result = Search(grid, lexicons, options);

  switch (result.outcome) {
    case SearchOutcome::kFilled: {
      ClueTables clues;
      std::string converted;
      for (const PlacedSlot& placed : PlaceResult(result, grid)) {
        const Slot& slot = result.slots[placed.slot];
        const SlotWord& word = *result.words[placed.slot];
        std::string_view clue = lists.List(slot.length)->Clue(word.entry);
        if (alphabet && settings.script) {
          converted.clear();
          ConvertClueScript(clue, *settings.script, converted);
          clue = converted;
        }
        clues.For(slot.direction).Record(slot.start, clue);
      }
      PrintSolved(out, grid, clues, spellings);
      if (settings.stats) {
        if (!settings.no_weak_crossings) {
          scores = ReadScores(letters, settings, quality);
        }
        quality << FormatQuality(
            MeasureQuality(grid, scores ? &*scores : nullptr,
                           settings.weak.value_or(kDefaultWeakBelow)));
      }
      return kExitOk;
    }
    case SearchOutcome::kNoFill:
      PrintNoFill(out, grid,
                  result.unfillable
                      ? std::optional<Slot>(result.slots[*result.unfillable])
                      : std::nullopt,
                  spellings);
      return kExitNoFill;
    case SearchOutcome::kStopped:
      PlaceResult(result, grid);
      PrintTimedOut(out, grid, spellings);
      return kExitTimeLimit;
  }
  return kExitTimeLimit;
}

}  // namespace

int FillPattern(std::istream& pattern, const ListOpener& lists,
                const FillSettings& settings, std::ostream& out,
                std::ostream& err) {
  int status;
  try {
    std::ostringstream quality;
    status = Fill(pattern, lists, settings, out, err, quality);
    if (!quality.str().empty()) {
      out.flush();
      err << quality.str();
      err.flush();
    }
  } catch (const std::bad_alloc&) {
    status = InputError(NoMemoryRefusal(), out, err);
  }
  out.flush();
  return status;
}

namespace {

// What the command line names beyond FillSettings: the files to read and
// the choices settled once it is parsed.
struct FillCommandLine {
  std::string pattern_path;
  std::string lists_dir;  // empty: the current folder
  bool progress = false;
  bool quiet = false;
  std::string alphabet_name = "ascii";
  std::string exclude_path;  // empty: no exclusion file
  std::string script_name;   // empty: the alphabet's script
  int weak_below = kDefaultWeakBelow;
  CLI::Option* weak = nullptr;  // given when its count is not 0
};

// Declares every option of polimreza-fill, in the order --help lists them.
void AddFillOptions(CLI::App& app, FillCommandLine& line,
                    FillSettings& settings) {
  app.add_option("pattern_file", line.pattern_path,
                 "Izgled (pattern) vase buduce ukrstenice")
      ->required();
  app.add_option("--lists", line.lists_dir,
                 "Folder sa listama reci 1.txt do 25.txt (podrazumevano: "
                 "tekuci folder)")
      ->type_name("FOLDER");
  AddSecondsOption(app, "--time-limit", settings.time_limit,
                   "Najduze trajanje pretrage u sekundama")
      ->default_str(FormatSeconds(settings.time_limit));
  AddWholeNumberOption(app, "--seed", settings.seed, 0, UINT64_MAX,
                       "Seme redosleda ponovnih pokretanja pretrage")
      ->type_name("BROJ")
      ->default_str(std::to_string(settings.seed));
  app.add_flag("--allow-repeats", settings.allow_repeats,
               "Dozvoli da se ista rec pojavi vise puta");
  app.add_flag("--skandinavka", settings.skandinavka,
               "Izgled je skandinavka: crna polja su polja za opise, a "
               "pojedinacna polja nisu reci (1.txt se ne cita)");
  app.add_flag("--progress", line.progress,
               "Prikazuj napredak na standardnoj gresci i kad ona nije "
               "terminal");
  app.add_flag("--quiet", line.quiet,
               "Ne prikazuj napredak (ne ide uz --progress)");
  // Checked here rather than by CLI11's excludes(), whose help line would
  // read "Iskljucuje: --quiet"; the refusal is the one excludes() gives.
  app.parse_complete_callback([&line] {
    if (line.progress && line.quiet) {
      throw CLI::ExcludesError("--progress", "--quiet");
    }
  });
  app.add_option("--alphabet", line.alphabet_name,
                 "Azbuka izgleda i lista reci: " + HelpAlphabets())
      ->type_name("AZBUKA")
      ->default_str(line.alphabet_name)
      ->check(CLI::IsMember({"ascii", "sr-latn", "sr-cyrl"}).description(""));
  app.add_option("--exclude", line.exclude_path,
                 "Datoteka sa recima (jedna u redu) koje ne ulaze u "
                 "popunjavanje")
      ->type_name("DATOTEKA");
  app.add_option("--script", line.script_name,
                 "Pismo izvestaja: latn ili cyrl (podrazumevano: pismo "
                 "azbuke)")
      ->type_name("PISMO")
      ->check(CLI::IsMember({"latn", "cyrl"}).description(""));
  app.add_flag("--stats", settings.stats,
               "Posle izvestaja ispisi ocenu kvaliteta (polja, PDR, ocene "
               "reci iz ocene.txt) na standardnu gresku");
  line.weak = AddWholeNumberOption(
      app, "--weak", line.weak_below, 0, 101,
      "Rec sa ocenom manjom od N je slaba (podrazumevano 30)");
  app.add_flag("--no-weak-crossings", settings.no_weak_crossings,
               "Ne dozvoli da se dve slabe reci ukrste (ocene iz ocene.txt)");
}

// Reads the exclusion file and, when the run needs them, the scores beside
// the lists into `settings`; the exit status when a file stops the run.
std::optional<int> ReadSideFiles(const FillCommandLine& line,
                                 FillSettings& settings, std::ostream& out,
                                 std::ostream& err) {
  if (!line.exclude_path.empty()) {
    auto text = ReadInput(line.exclude_path, InputRules{});
    if (const ReadError* error = std::get_if<ReadError>(&text)) {
      return InputError(*error == ReadError::kOutOfMemory
                            ? NoMemoryRefusal()
                            : CannotOpenRefusal(line.exclude_path),
                        out, err);
    }
    settings.exclude = std::move(std::get<std::string>(text));
  }
  if (settings.stats || settings.no_weak_crossings) {
    // The scores file beside the lists; none when it cannot be read.
    auto text = ReadInput(
        line.lists_dir.empty()
            ? std::string(kScoresFileName)
            : (std::filesystem::path(line.lists_dir) / kScoresFileName)
                  .string(),
        InputRules{});
    if (const ReadError* error = std::get_if<ReadError>(&text)) {
      if (*error == ReadError::kOutOfMemory) {
        return InputError(NoMemoryRefusal(), out, err);
      }
    } else {
      settings.scores = std::move(std::get<std::string>(text));
    }
  }
  return std::nullopt;
}

}  // namespace

int RunFill(int argc, const char* const* argv, std::ostream& out,
            std::ostream& err) {
  CLI::App app{
      "Popunjava ukrstenicu potpunom pretragom: nalazi popunjavanje kad "
      "postoji, a kad ne postoji, kaze to.",
      std::string(kProgram)};
  SetUpApp(app);
  FillCommandLine line;
  FillSettings settings;
  AddFillOptions(app, line, settings);
  if (auto status = ParseCommandLine(app, argc, argv, out, err)) return *status;
  if (line.weak->count() > 0) settings.weak = line.weak_below;
  settings.alphabet = *AlphabetNamed(line.alphabet_name);
  if (!line.script_name.empty()) {
    settings.script =
        line.script_name == "latn" ? Script::kLatin : Script::kCyrillic;
  }
  settings.progress =
      !line.quiet && (line.progress || IsTerminal(STDERR_FILENO));

  std::unique_ptr<std::istream> pattern = OpenForReading(line.pattern_path);
  if (!pattern) {
    return InputError(CannotOpenRefusal(line.pattern_path), out, err);
  }
  if (auto status = ReadSideFiles(line, settings, out, err)) return *status;
  ListOpener opener = [lists_dir = line.lists_dir](unsigned length) {
    const std::string name = ListFileName(length);
    return OpenForReading(
        lists_dir.empty() ? name
                          : (std::filesystem::path(lists_dir) / name).string());
  };
  return FillPattern(*pattern, opener, settings, out, err);
}

}  // namespace polimreza
