#include "driver/fill_run.h"

#include <map>
#include <sstream>

#include "gtest/gtest.h"

namespace polimreza {
namespace {

ListOpener OpenerOf(std::map<unsigned, std::string> texts) {
  return [texts](unsigned length) -> std::unique_ptr<std::istream> {
    auto it = texts.find(length);
    if (it == texts.end()) return nullptr;
    return std::make_unique<std::istringstream>(it->second);
  };
}

struct Case {
  const char* name;
  std::string pattern;
  std::map<unsigned, std::string> lists;
  std::uint64_t node_limit;
  int status;
  std::string out;
  std::string err;
};

TEST(FillPatternTest, EveryOutcome) {
  const std::string squares =
      "AB;1\nCD;2\nAC;3\nBD;4\nEF;5\nGH;6\nEG;7\nFH;8\n";
  const std::vector<Case> cases = {
      {"filled",
       "*B\n**\n",
       {{2, squares}},
       0,
       0,
       "MaxVodoravno:2, MaxUspravno:2\nUkrstenica je resena\n"
       "Sad cu je prikazati...\n\nAB\nCD\nVodoravno:\n0.1\n1.2\n\n"
       "Uspravno:\n0.3\n1.4\n",
       ""},
      {"illegal character",
       "*b\n",
       {},
       0,
       2,
       "MaxVodoravno:2, MaxUspravno:1\nIlegalan karakter u fajlu\n"
       "Program ce se ugasiti\n",
       "polimreza-fill: Ilegalan karakter u fajlu\n"},
      {"long slot",
       "#**********\n",
       {},
       0,
       2,
       "MaxVodoravno:11, MaxUspravno:1\nRec na mestu (2,1) vodoravno ima 10 "
       "polja, a najvise moze da ima 9\nProgram ce se ugasiti\n",
       "polimreza-fill: Rec na mestu (2,1) vodoravno ima 10 polja, a najvise "
       "moze da ima 9\n"},
      {"a slot no word fits",
       "**\n#Z\n",
       {{1, "Z;z\n"}, {2, squares}},
       0,
       1,
       "MaxVodoravno:2, MaxUspravno:2\nUkrstenica ne moze da se resi: "
       "nijedno popunjavanje ne postoji\nRec koju ne mogu da nadjem u bazi "
       "je: *Z na mestu (2,1) uspravno\n",
       ""},
      {"no fill, every slot fits alone",
       "**\n**\n",
       {{2, "AB;1\nCD;2\n"}},
       0,
       1,
       "MaxVodoravno:2, MaxUspravno:2\nUkrstenica ne moze da se resi: "
       "nijedno popunjavanje ne postoji\n",
       ""},
      {"stopped",
       "**#**\n**#**\n",
       {{2, squares}},
       1,
       3,
       "MaxVodoravno:5, MaxUspravno:2\nVreme je isteklo pre nego sto je "
       "ukrstenica resena\nPrikazacu dokle sam stigao...\n\nAC#**\nBD#**\n",
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::istringstream pattern(c.pattern);
    std::ostringstream out;
    std::ostringstream err;
    FillSettings settings;
    settings.node_limit = c.node_limit;
    EXPECT_EQ(FillPattern(pattern, OpenerOf(c.lists), settings, out, err),
              c.status);
    EXPECT_EQ(out.str(), c.out);
    EXPECT_EQ(err.str(), c.err);
  }
}

}  // namespace
}  // namespace polimreza
