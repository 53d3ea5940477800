// Writes the end-to-end benchmark's input folders: `short/` (lists of every
// string of 1 to 3 letters and the short-slot grids) and `real/` (the 15x15
// pattern and lists of about 50,000 pseudo-words).
//   polimreza_bench_inputs FOLDER
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench_inputs.h"

namespace fs = std::filesystem;
using polimreza::bench::ListTexts;

namespace {

constexpr std::uint32_t kSeed = 20240605;
constexpr unsigned kGridSizes[] = {40, 80, 100, 199};

bool WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out);
}

bool WriteLists(const fs::path& folder, const ListTexts& lists) {
  for (std::size_t k = 0; k < lists.size(); ++k) {
    if (!lists[k]) continue;
    if (!WriteFile(folder / (std::to_string(k + 1) + ".txt"), *lists[k])) {
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const fs::path root = argv[1];
  const fs::path short_folder = root / "short";
  const fs::path real_folder = root / "real";
  fs::create_directories(short_folder);
  fs::create_directories(real_folder);
  bool ok = WriteLists(short_folder, polimreza::bench::ShortWordLists(kSeed));
  for (unsigned size : kGridSizes) {
    ok =
        ok && WriteFile(short_folder / ("grid" + std::to_string(size) + ".txt"),
                        polimreza::bench::ShortSlotPattern(size, kSeed + size));
  }
  ok = ok &&
       WriteLists(real_folder, polimreza::bench::RealisticWordLists(kSeed));
  ok = ok && WriteFile(real_folder / "pattern.txt",
                       polimreza::bench::RealisticPattern());
  if (!ok) {
    std::fprintf(stderr, "cannot write the inputs under %s\n", argv[1]);
    return 1;
  }
  return 0;
}
