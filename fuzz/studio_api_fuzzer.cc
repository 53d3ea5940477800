// Fuzz target: the studio's request decoding on arbitrary bodies. The first
// byte picks the request and the alphabet, the rest is the body. Whatever a
// decoder accepts, its grid written back as rows must decode to the same
// grid; a refusal must be a status the API knows with a message. The ipuz
// reader gets the same bytes: what it reads must be consistent in size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <variant>

#include "export/ipuz.h"
#include "studio/api.h"

namespace polimreza {
namespace {

const Alphabet& AlphabetOf(unsigned choice) {
  static const Alphabet ascii(AlphabetKind::kAscii);
  static const Alphabet latin(AlphabetKind::kSerbianLatin);
  static const Alphabet cyrillic(AlphabetKind::kSerbianCyrillic);
  return choice == 0 ? ascii : choice == 1 ? latin : cyrillic;
}

template <typename T>
void CheckRefusal(const Decoded<T>& decoded) {
  if (const ApiError* error = std::get_if<ApiError>(&decoded)) {
    if (error->status != 400 || error->message.empty()) std::abort();
  }
}

void CheckRoundTrip(const Grid& grid, const Alphabet& alphabet) {
  const Json rows = EncodeRows(grid, alphabet);
  auto again = DecodeRows(rows, alphabet);
  if (again.index() != 0) std::abort();
  const Grid& back = std::get<Grid>(again);
  if (back.gridWidth() != grid.gridWidth() ||
      back.gridHeight() != grid.gridHeight()) {
    std::abort();
  }
  for (CellIndex i = 0; i < grid.CellCount(); ++i) {
    if (back.Cell(i) != grid.Cell(i)) std::abort();
  }
}

}  // namespace
}  // namespace polimreza

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace polimreza;
  if (size == 0) return 0;
  const Alphabet& alphabet = AlphabetOf(data[0] % 3);
  const std::string_view body(reinterpret_cast<const char*>(data + 1),
                              size - 1);
  switch ((data[0] / 3) % 6) {
    case 0: {
      auto decoded = DecodeFill(body, alphabet);
      CheckRefusal(decoded);
      if (auto* fill = std::get_if<FillRequest>(&decoded)) {
        CheckRoundTrip(fill->grid, alphabet);
        for (const Slot& slot : FindSlots(fill->grid)) {
          SlotInRegion(*fill, slot);
        }
      }
      break;
    }
    case 1: {
      auto decoded = DecodeCandidates(body, alphabet);
      CheckRefusal(decoded);
      if (auto* request = std::get_if<CandidatesRequest>(&decoded)) {
        CheckRoundTrip(request->grid, alphabet);
        CheckRefusal(SlotThrough(request->grid, request->row, request->col,
                                 request->direction));
      }
      break;
    }
    case 2: {
      auto decoded = DecodeSave(body, alphabet, ".ipuz");
      CheckRefusal(decoded);
      if (auto* save = std::get_if<SaveRequest>(&decoded)) {
        CheckRoundTrip(save->grid, alphabet);
        if (!FileNameProblem(save->name, ".ipuz").empty()) std::abort();
      }
      break;
    }
    case 3:
      CheckRefusal(DecodeSearch(body, alphabet));
      CheckRefusal(DecodeClue(body, alphabet));
      break;
    case 4:
      CheckRefusal(DecodeClues(body, alphabet));
      CheckRefusal(DecodeWordRequest(body, alphabet));
      CheckRefusal(DecodeOpen(body));
      break;
    default: {
      auto read = ReadIpuz(body);
      if (auto* crossword = std::get_if<IpuzCrossword>(&read)) {
        const std::size_t cells =
            std::size_t{crossword->width} * crossword->height;
        if (crossword->block.size() != cells ||
            crossword->letters.size() != cells ||
            crossword->author_squares.size() != cells) {
          std::abort();
        }
      }
      break;
    }
  }
  return 0;
}
