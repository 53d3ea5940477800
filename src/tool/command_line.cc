#include "tool/command_line.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

namespace polimreza {

namespace {

// Whether `arg`, left over by the parser, was meant as an option.
bool LooksLikeOption(const std::string& arg) {
  return arg.size() > 1 && arg[0] == '-';
}

// A Serbian name for what kind of usage error `error` is; CLI11's own text,
// in English, follows it in parentheses since it names the option. CLI11
// calls an unknown option an extra argument; it is told apart here by what
// `app` left over.
std::string DescribeUsageError(const CLI::App& app,
                               const CLI::ParseError& error) {
  std::string kind = "Pogresni argumenti";
  if (dynamic_cast<const CLI::ExtrasError*>(&error)) {
    const std::vector<std::string> extras = app.remaining();
    if (std::none_of(extras.begin(), extras.end(), LooksLikeOption)) {
      kind = "Visak argumenata";
    }
  } else if (dynamic_cast<const CLI::RequiredError*>(&error)) {
    kind = "Nedostaje obavezan argument";
  } else if (dynamic_cast<const CLI::ConversionError*>(&error) ||
             dynamic_cast<const CLI::ValidationError*>(&error)) {
    kind = "Neispravna vrednost";
  } else if (dynamic_cast<const CLI::ArgumentMismatch*>(&error)) {
    kind = "Pogresan broj vrednosti";
  }
  return kind + " (" + error.what() + ")";
}

}  // namespace

void SetUpApp(CLI::App& app) {
  app.option_defaults()->group("Opcije");
  app.set_help_flag("-h,--help", "Prikazi ovu pomoc i izadji");
  app.set_version_flag("--version",
                       app.get_name() + " " + std::string(kVersion),
                       "Prikazi verziju i izadji");
  auto formatter = app.get_formatter();
  formatter->label("Usage", "Koriscenje");
  formatter->label("OPTIONS", "OPCIJE");
  formatter->label("Positionals", "Argumenti");
  formatter->label("REQUIRED", "OBAVEZNO");
  formatter->label("TEXT", "TEKST");
  formatter->label("INT", "BROJ");
  formatter->label("UINT", "BROJ");
  formatter->label("FLOAT", "BROJ");
  formatter->label("Excludes", "Iskljucuje");
  formatter->label("Needs", "Trazi");
}

std::string_view HelpLetters(AlphabetKind kind) {
  switch (kind) {
    case AlphabetKind::kAscii:
      break;
    case AlphabetKind::kSerbianLatin:
      return "30 slova srpske latinice";
    case AlphabetKind::kSerbianCyrillic:
      return "30 slova srpske cirilice";
  }
  return "A-Z";
}

std::string HelpAlphabets() {
  std::string text;
  const AlphabetKind kinds[] = {AlphabetKind::kAscii,
                                AlphabetKind::kSerbianLatin,
                                AlphabetKind::kSerbianCyrillic};
  for (AlphabetKind kind : kinds) {
    if (!text.empty()) {
      text += kind == AlphabetKind::kSerbianCyrillic ? " ili " : ", ";
    }
    text += std::string(AlphabetName(kind)) + " (" +
            std::string(HelpLetters(kind)) + ")";
  }
  return text;
}

std::optional<int> ParseCommandLine(CLI::App& app, int argc,
                                    const char* const* argv, std::ostream& out,
                                    std::ostream& err) {
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    out << app.help();
    return kExitOk;
  } catch (const CLI::CallForVersion& version) {
    out << version.what() << '\n';
    return kExitOk;
  } catch (const CLI::ParseError& error) {
    ReportError(app.get_name(),
                DescribeUsageError(app, error) +
                    "\nZa pomoc: " + app.get_name() + " --help\n",
                out, err);
    return kExitUsage;
  }
  return std::nullopt;
}

void ReportError(std::string_view program, std::string_view message,
                 std::ostream& out, std::ostream& err) {
  out << message;
  std::string_view first = message.substr(0, message.find('\n'));
  err << program << ": " << first << '\n';
  out.flush();
  err.flush();
}

std::optional<std::uint64_t> ParseWholeNumber(std::string_view text) {
  if (text.empty() ||
      text.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  std::uint64_t value = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

std::optional<double> ParseDecimal(std::string_view text) {
  const std::size_t point = text.find('.');
  const std::size_t digits = text.size() - (point == text.npos ? 0 : 1);
  if (digits == 0 ||
      text.find_first_not_of("0123456789.") != std::string_view::npos ||
      (point != text.npos && text.find('.', point + 1) != text.npos)) {
    return std::nullopt;
  }
  double value = 0;
  const auto [end, error] = std::from_chars(
      text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (error != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::uint64_t ReadWholeNumber(const std::string& option,
                              const std::string& text, std::uint64_t min,
                              std::uint64_t max) {
  const std::optional<std::uint64_t> value = ParseWholeNumber(text);
  if (!value && (text.empty() ||
                 text.find_first_not_of("0123456789") != std::string::npos)) {
    throw CLI::ValidationError(option, "not a whole decimal number: " + text);
  }
  if (!value || *value < min || *value > max) {
    throw CLI::ValidationError(option, "Value " + text + " not in range " +
                                           std::to_string(min) + " to " +
                                           std::to_string(max));
  }
  return *value;
}

CLI::Option* AddSecondsOption(CLI::App& app, const std::string& name,
                              double& value, const std::string& description) {
  return app
      .add_option(
          name,
          [&value, name](const CLI::results_t& results) {
            const std::optional<double> seconds = ParseDecimal(results.back());
            if (!seconds) {
              throw CLI::ValidationError(
                  name, "not a decimal number of seconds from 0 up: " +
                            results.back());
            }
            value = *seconds;
            return true;
          },
          description)
      ->type_name("SEKUNDE");
}

bool IsTerminal(int fd) { return isatty(fd) == 1; }

}  // namespace polimreza
