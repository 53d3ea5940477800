#include "tool/command_line.h"

#include <sstream>

#include "gtest/gtest.h"

namespace polimreza {
namespace {

TEST(CommandLineTest, WholeNumbersAreDecimalDigitsOnly) {
  const struct {
    const char* text;
    std::optional<std::uint64_t> value;
  } cases[] = {
      {"010", 10},
      {"09", 9},
      {"18446744073709551615", UINT64_MAX},
      {"18446744073709551616", std::nullopt},
      {"0x10", std::nullopt},
      {"0o7", std::nullopt},
      {"1e3", std::nullopt},
      {"+1", std::nullopt},
      {" 1", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseWholeNumber(c.text), c.value) << c.text;
  }
}

TEST(CommandLineTest, SecondsArePlainDecimalNumbers) {
  const struct {
    std::string text;
    std::optional<double> value;
  } cases[] = {
      {"2", 2.0},
      {"0.5", 0.5},
      {".5", 0.5},
      {"0x10", std::nullopt},
      {"inf", std::nullopt},
      {"1e400", std::nullopt},
      {"1e2", std::nullopt},
      {"-1", std::nullopt},
      {".", std::nullopt},
      {"", std::nullopt},
      {std::string(400, '9'), std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseDecimal(c.text), c.value) << c.text;
  }
}

// The first line the program `argv` prints to standard output.
std::string UsageError(std::vector<const char*> argv) {
  CLI::App app("", "prog");
  SetUpApp(app);
  std::string file;
  std::uint64_t count = 0;
  double seconds = 0;
  app.add_option("file", file)->required();
  AddWholeNumberOption(app, "--count", count, 1, 9, "");
  AddSecondsOption(app, "--seconds", seconds, "");
  std::ostringstream out, err;
  const auto status = ParseCommandLine(app, static_cast<int>(argv.size()),
                                       argv.data(), out, err);
  EXPECT_EQ(status, kExitUsage);
  return out.str().substr(0, out.str().find('\n'));
}

TEST(CommandLineTest, UsageErrorsSayWhatIsWrong) {
  EXPECT_EQ(UsageError({"prog", "--nema", "f"}),
            "Pogresni argumenti (The following argument was not expected: "
            "--nema)");
  EXPECT_EQ(UsageError({"prog", "f", "g"}),
            "Visak argumenata (The following argument was not expected: g)");
  EXPECT_EQ(UsageError({"prog", "f", "--count"}),
            "Pogresan broj vrednosti (--count: 1 required N missing)");
  EXPECT_EQ(UsageError({"prog", "f", "--count", "0x1"}),
            "Neispravna vrednost (--count: not a whole decimal number: 0x1)");
  EXPECT_EQ(UsageError({"prog", "f", "--count", "10"}),
            "Neispravna vrednost (--count: Value 10 not in range 1 to 9)");
  EXPECT_EQ(UsageError({"prog", "f", "--seconds", "inf"}),
            "Neispravna vrednost (--seconds: not a decimal number of seconds "
            "from 0 up: inf)");
  EXPECT_EQ(UsageError({"prog"}),
            "Nedostaje obavezan argument (file is required)");
}

}  // namespace
}  // namespace polimreza
