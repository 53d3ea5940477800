// The files of the studio's constructor page (src/studio/page/), embedded
// into the program when it is built, for the server to hand out by name.
#ifndef POLIMREZA_STUDIO_PAGE_FILES_H_
#define POLIMREZA_STUDIO_PAGE_FILES_H_

#include <span>
#include <string_view>

namespace polimreza {

// The bytes of the page file named `name` ("studio.html", "studio.css",
// "studio.js", ...); empty for any other name.
std::string_view StudioPageFile(std::string_view name);

// The names of every page file, the page's HTML first.
std::span<const std::string_view> StudioPageFileNames();

}  // namespace polimreza

#endif  // POLIMREZA_STUDIO_PAGE_FILES_H_
