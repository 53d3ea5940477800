#include "studio/api.h"

#include <string>
#include <vector>

#include "gtest/gtest.h"

namespace polimreza {
namespace {

const Alphabet& Latin() {
  static const Alphabet alphabet(AlphabetKind::kSerbianLatin);
  return alphabet;
}

struct Refusal {
  std::string body;
  const char* message;
};

// Every refusal of a request that carries rows, with its exact message.
TEST(StudioApiTest, FillRefusals) {
  const std::string long_row(26, '*');
  const std::string wide_row(101, '#');
  const std::vector<Refusal> cases = {
      {"{rows", "Neispravan JSON"},
      {"[1]", "Neispravan JSON"},
      {"{\"rows\": " + std::string(100000, '[') + std::string(100000, ']') +
           "}",
       "JSON je dublji od 64 nivoa"},
      {"{}", "Polje rows nedostaje ili nije ispravno"},
      {R"({"rows": "**"})", "Polje rows nedostaje ili nije ispravno"},
      {R"({"rows": ["**", 3]})", "Polje rows nedostaje ili nije ispravno"},
      {R"({"rows": []})", "Mreza je prazna"},
      {R"({"rows": ["**", "*"]})", "Redovi nisu iste duzine"},
      {R"({"rows": ["*LJ", "***"]})", "Redovi nisu iste duzine"},
      {R"({"rows": ["**", "*Q"]})", "Znak koji nije slovo: red 2, kolona 2"},
      {R"({"rows": ["*1*"]})", "Znak koji nije slovo: red 1, kolona 2"},
      // A square the author cannot see is refused, not dropped.
      {"{\"rows\": [\"*\xe2\x80\x8c*\"]}",
       "Znak koji nije slovo: red 1, kolona 2"},
      {"{\"rows\": [\"" + long_row + "\"]}",
       "Rec duza od 25 slova: red 1, kolona 1"},
      {"{\"rows\": [\"" + wide_row + "\"]}", "Mreza je veca od 100x100"},
      {R"({"rows": ["**"], "timeLimit": "5"})",
       "Polje timeLimit nedostaje ili nije ispravno"},
      {R"({"rows": ["**"], "another": 1})",
       "Polje another nedostaje ili nije ispravno"},
      {R"({"rows": ["**"], "region": {"top": 0, "left": 0, "bottom": 1,
          "right": 1}})",
       "Oblast je van mreze"},
      {R"({"rows": ["**"], "region": {"top": 0, "left": 1, "bottom": 0,
          "right": 0}})",
       "Oblast je van mreze"},
      {R"({"rows": ["**"], "region": {"row": 3, "col": 0,
          "direction": "across"}})",
       "Oblast je van mreze"},
      {R"({"rows": ["**"], "region": {"row": 0, "col": 0,
          "direction": "down"}})",
       "Kroz polje ne prolazi rec u tom smeru"},
      {R"({"rows": ["**"], "region": {"row": 0, "col": 0,
          "direction": "up"}})",
       "Polje direction nedostaje ili nije ispravno"},
  };
  for (const Refusal& refusal : cases) {
    auto decoded = DecodeFill(refusal.body, Latin());
    ASSERT_EQ(decoded.index(), 1u) << refusal.body;
    EXPECT_EQ(std::get<ApiError>(decoded), (ApiError{400, refusal.message}))
        << refusal.body;
  }
}

TEST(StudioApiTest, CandidatesRefusals) {
  const std::vector<Refusal> cases = {
      {R"({"rows": ["**"], "col": 0, "direction": "across"})",
       "Polje row nedostaje ili nije ispravno"},
      {R"({"rows": ["**"], "row": -1, "col": 0, "direction": "across"})",
       "Polje row nedostaje ili nije ispravno"},
      {R"({"rows": ["**"], "row": 0, "col": 0, "direction": "across",
          "limit": "x"})",
       "Polje limit nedostaje ili nije ispravno"},
  };
  for (const Refusal& refusal : cases) {
    auto decoded = DecodeCandidates(refusal.body, Latin());
    ASSERT_EQ(decoded.index(), 1u) << refusal.body;
    EXPECT_EQ(std::get<ApiError>(decoded).message, refusal.message);
  }
  const Grid grid =
      std::get<Grid>(DecodeRows(Json::parse(R"(["*#*", "***"])"), Latin()));
  const std::vector<std::tuple<std::size_t, std::size_t, int, const char*>>
      slots = {{0, 1, ACROSS, "Polje je crno"},
               {5, 0, ACROSS, "Polje je van mreze"},
               {0, 0, ACROSS, "Kroz polje ne prolazi rec u tom smeru"}};
  for (const auto& [row, col, direction, message] : slots) {
    auto slot = SlotThrough(grid, row, col, direction);
    ASSERT_EQ(slot.index(), 1u);
    EXPECT_EQ(std::get<ApiError>(slot).message, message);
  }
  EXPECT_EQ(std::get<std::size_t>(SlotThrough(grid, 1, 2, ACROSS)), 4u);
}

TEST(StudioApiTest, LimitDefaultsAndIsCapped) {
  auto plain = DecodeCandidates(
      R"({"rows": ["**"], "row": 0, "col": 1, "direction": "across"})",
      Latin());
  EXPECT_EQ(std::get<CandidatesRequest>(plain).limit, 200u);
  auto capped = DecodeSearch(R"({"pattern": "A?", "limit": 5000})", Latin());
  EXPECT_EQ(std::get<SearchRequest>(capped).limit, 1000u);
}

// Digraphs are one square, a non-joiner keeps two letters apart, the
// one-character digraphs count as typed pairs; rows come back as sent.
TEST(StudioApiTest, LatinRowsRoundTrip) {
  const Json rows = Json::parse("[\"LJ*N\u200cJ\", \"\u01C9#D\u017D*\"]");
  auto grid = DecodeRows(rows, Latin());
  ASSERT_EQ(grid.index(), 0u);
  EXPECT_EQ(std::get<Grid>(grid).gridWidth(), 4u);
  EXPECT_EQ(EncodeRows(std::get<Grid>(grid), Latin()),
            (std::vector<std::string>{"LJ*N\u200cJ", "LJ#D\u017D*"}));
}

TEST(StudioApiTest, SearchPattern) {
  auto request = DecodeSearch(R"({"pattern": "?LJ?"})", Latin());
  ASSERT_EQ(request.index(), 0u);
  EXPECT_EQ(std::get<SearchRequest>(request).pattern.size(), 3u);
  for (const char* body : {R"({"pattern": "A1"})", R"({"pattern": ""})",
                           R"({"pattern": "??????????????????????????"})"}) {
    auto bad = DecodeSearch(body, Latin());
    ASSERT_EQ(bad.index(), 1u) << body;
    EXPECT_EQ(std::get<ApiError>(bad).message, "Neispravan uzorak");
  }
}

// Error bodies are the JSON of {"error": message} whether written by hand
// or not.
TEST(StudioApiTest, ErrorBodies) {
  EXPECT_EQ(ErrorBody(ApiError{503, "Nema dovoljno memorije"}),
            R"({"error":"Nema dovoljno memorije"})");
  EXPECT_EQ(ErrorBody(ApiError{409, "Fajl x.ipuz vec postoji", true}),
            R"({"error":"Fajl x.ipuz vec postoji","exists":true})");
  EXPECT_EQ(ErrorBody(ApiError{409, "Fajl \"š\".ipuz\n", true}),
            R"({"error":"Fajl \"š\".ipuz\n","exists":true})");
}

TEST(StudioApiTest, FileNames) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"x.ipuz", ""},
      {"ukrštenica 1.ipuz", ""},
      {"../x.ipuz", "Neispravno ime fajla"},
      {"a/b.ipuz", "Neispravno ime fajla"},
      {"a\\b.ipuz", "Neispravno ime fajla"},
      {"a..b.ipuz", "Neispravno ime fajla"},
      {".x.ipuz", "Neispravno ime fajla"},
      {"", "Neispravno ime fajla"},
      {"bad\xff.ipuz", "Neispravno ime fajla"},
      {"tab\t.ipuz", "Neispravno ime fajla"},
      {std::string(96, 'a') + ".ipuz", "Neispravno ime fajla"},
      {std::string(95, 'a') + ".ipuz", ""},
      {"x.txt", "Ime fajla mora da se zavrsava sa .ipuz"},
      {".ipuz", "Neispravno ime fajla"},
  };
  for (const auto& [name, problem] : cases) {
    EXPECT_EQ(FileNameProblem(name, ".ipuz"), problem) << name;
  }
  EXPECT_EQ(FileNameProblem("x", ""), "");
}

TEST(StudioApiTest, RectangleRegionTakesSlotsWithAnOpenSquareInIt) {
  auto request = DecodeFill(
      R"({"rows": ["A**", "***"], "region": {"top": 0, "left": 0,
          "bottom": 0, "right": 0}})",
      Latin());
  ASSERT_EQ(request.index(), 0u);
  const FillRequest& fill = std::get<FillRequest>(request);
  // The region's only square holds a letter: no slot has an open square
  // in it.
  for (const Slot& slot : FindSlots(fill.grid)) {
    EXPECT_FALSE(SlotInRegion(fill, slot));
  }
}

TEST(StudioApiTest, SlotRegionTakesTheSlotAndItsCrossings) {
  auto request = DecodeFill(
      R"({"rows": ["***", "#*#", "*#*"], "region": {"row": 1, "col": 1,
          "direction": "down"}})",
      Latin());
  ASSERT_EQ(request.index(), 0u);
  const FillRequest& fill = std::get<FillRequest>(request);
  std::vector<bool> taken;
  for (const Slot& slot : FindSlots(fill.grid)) {
    taken.push_back(SlotInRegion(fill, slot));
  }
  // Slots in reading order: row 0 across, (0,0) down, (0,1) down, (0,2)
  // down, (1,1) across, (2,0) both ways, (2,2) both ways.
  EXPECT_EQ(taken, (std::vector<bool>{true, false, true, false, true, false,
                                      false, false, false}));
}

}  // namespace
}  // namespace polimreza
