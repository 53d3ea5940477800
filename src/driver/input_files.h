// What every program over a pattern shares before it reads anything:
// opening its input files.
#ifndef POLIMREZA_DRIVER_INPUT_FILES_H_
#define POLIMREZA_DRIVER_INPUT_FILES_H_

#include <istream>
#include <memory>
#include <string>

namespace polimreza {

// Opens `path` for reading; null when it cannot be opened or read as a
// regular file.
std::unique_ptr<std::istream> OpenForReading(const std::string& path);

}  // namespace polimreza

#endif  // POLIMREZA_DRIVER_INPUT_FILES_H_
