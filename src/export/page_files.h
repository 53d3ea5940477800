// The files of the exported web page (src/export/page/), embedded into the
// program when it is built.
#ifndef POLIMREZA_EXPORT_PAGE_FILES_H_
#define POLIMREZA_EXPORT_PAGE_FILES_H_

#include <string_view>

namespace polimreza {

// The bytes of the page file named `name` ("puzzle.html", "puzzle.css",
// "puzzle.js"); empty for any other name.
std::string_view EmbeddedPageFile(std::string_view name);

}  // namespace polimreza

#endif  // POLIMREZA_EXPORT_PAGE_FILES_H_
