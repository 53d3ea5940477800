// What every program over a pattern shares before it fills anything:
// refusing a pattern with a slot too long for any word list.
#ifndef POLIMREZA_DRIVER_INPUT_FILES_H_
#define POLIMREZA_DRIVER_INPUT_FILES_H_

#include <ostream>

#include "grid/grid.h"

namespace polimreza {

// Prints the refusal of the first slot longer than kMaxSlotLength to `out`
// and gives true; gives false, printing nothing, when every slot fits.
bool RefuseLongSlot(const Grid& grid, std::ostream& out);

}  // namespace polimreza

#endif  // POLIMREZA_DRIVER_INPUT_FILES_H_
