#include "tool/command_line.h"

#include <unistd.h>

#include <string>

namespace polimreza {

namespace {

// A Serbian name for what kind of usage error `error` is; CLI11's own text,
// in English, follows it in parentheses since it names the option.
std::string DescribeUsageError(const CLI::ParseError& error) {
  std::string kind = "Pogresni argumenti";
  if (dynamic_cast<const CLI::ExtrasError*>(&error)) {
    kind = "Visak argumenata";
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
                DescribeUsageError(error) + "\nZa pomoc: " + app.get_name() +
                    " --help\n",
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

bool IsTerminal(int fd) { return isatty(fd) == 1; }

}  // namespace polimreza
