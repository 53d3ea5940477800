# Installing and packaging: the install rules for every program in
# POLIMREZA_PROGRAMS, its manual page, the README, the example and the
# Debian copyright and changelog, and the CPack setup of the .deb.
# Included from the top CMakeLists.txt after every program is defined.

# The documentation folder is named after the package, not the project.
set(CMAKE_INSTALL_DOCDIR "share/doc/polimreza" CACHE PATH
  "Documentation root (share/doc/polimreza)")
include(GNUInstallDirs)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE
  GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Manual pages and the changelog are installed gzipped, as Debian wants them
# in a package; `man` reads them so, and `cmake --install` then gives the
# same tree as the package. gzip -n keeps the files free of names and times.
find_program(POLIMREZA_GZIP gzip REQUIRED)
set(packaging_dir ${CMAKE_CURRENT_BINARY_DIR}/packaging)
set(compressed_files)
function(polimreza_gzip source target)
  add_custom_command(OUTPUT ${target}
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${target}.tmp
    COMMAND ${POLIMREZA_GZIP} -9nf ${target}.tmp
    COMMAND ${CMAKE_COMMAND} -E rename ${target}.tmp.gz ${target}
    DEPENDS ${source}
    COMMENT "Compressing ${source}"
    VERBATIM)
  set(compressed_files ${compressed_files} ${target} PARENT_SCOPE)
endfunction()

install(TARGETS ${POLIMREZA_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (`--strip`, and the package) also drops the compiler's
# .comment section, as Debian's own stripping does.
foreach(program IN LISTS POLIMREZA_PROGRAMS)
  install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:${program}>\"
    COMMAND_ERROR_IS_FATAL ANY)
endif()")
endforeach()
# A page added later makes the next build configure again.
file(GLOB pages CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/man/*.1)
foreach(program IN LISTS POLIMREZA_PROGRAMS)
  set(page ${PROJECT_SOURCE_DIR}/man/${program}.1)
  if(NOT page IN_LIST pages)
    message(WARNING "${program} has no manual page man/${program}.1")
    continue()
  endif()
  polimreza_gzip(${page} ${packaging_dir}/${program}.1.gz)
  install(FILES ${packaging_dir}/${program}.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# A package built from this tree is native (its version is the project's,
# with no Debian revision), so its changelog is changelog.gz.
polimreza_gzip(${CMAKE_CURRENT_LIST_DIR}/changelog ${packaging_dir}/changelog.gz)
add_custom_target(compressed-docs ALL DEPENDS ${compressed_files})

install(FILES ${PROJECT_SOURCE_DIR}/README.md ${CMAKE_CURRENT_LIST_DIR}/copyright
  ${packaging_dir}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
set(example ukrstenica.txt 1.txt 2.txt 3.txt 4.txt 5.txt 6.txt 7.txt 8.txt 9.txt)
list(TRANSFORM example PREPEND ${PROJECT_SOURCE_DIR}/examples/)
install(FILES ${example} DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

# The Debian package: `cmake --workflow --preset package`, or `cpack -G DEB`
# in a release build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME polimreza)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Polimreza developers")
set(POLIMREZA_MAINTAINER "Polimreza developers <polimreza@example.org>"
  CACHE STRING "The package's Maintainer field")
set(CPACK_PACKAGE_CONTACT ${POLIMREZA_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "crossword filler and toolkit with Serbian messages")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Polimreza fills in a crossword. The layout is drawn in a text pattern
(black squares, squares to fill and letters given in advance); nine word
lists, one per word length, give the words and their clues. It fills the
grid greedily, one slot per turn, checking every crossing, and prints the
grid with numbered clue lists, or shows where it got stuck.

Companion programs search the whole grid for a fill, make word lists from
dictionaries, export a puzzle to print and play, and serve a crossword
constructor to a browser on this machine. Their messages are in
Serbian (Latin script). A small Serbian example is included.")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS hunspell-sr)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The export hyphenates a skandinavka's clues with these patterns, read at
# run time; dpkg-shlibdeps adds the libraries.
set(CPACK_DEBIAN_PACKAGE_DEPENDS hyphen-sr)
find_program(POLIMREZA_DPKG dpkg)
if(POLIMREZA_DPKG)
  execute_process(COMMAND ${POLIMREZA_DPKG} --print-architecture
    OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE
    OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_IGNORE_FILES "/[.]git" "/build/")
include(CPack)
