// What every program over a pattern shares before it fills anything:
// opening its input files and refusing a pattern with a slot too long for
// any word list.
#ifndef POLIMREZA_DRIVER_INPUT_FILES_H_
#define POLIMREZA_DRIVER_INPUT_FILES_H_

#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "grid/grid.h"

namespace polimreza {

// Opens `path` for reading; null when it cannot be opened or read as a
// regular file.
std::unique_ptr<std::istream> OpenForReading(const std::string& path);

// Prints the refusal of the first slot longer than kMaxSlotLength to `out`
// and gives true; gives false, printing nothing, when every slot fits.
bool RefuseLongSlot(const Grid& grid, std::ostream& out);

}  // namespace polimreza

#endif  // POLIMREZA_DRIVER_INPUT_FILES_H_
