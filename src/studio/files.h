// The studio's files in the folder it was started in: listing the ipuz
// files, saving and opening a puzzle under construction, exporting a
// finished one as polimreza-export does, and writing any file atomically.
#ifndef POLIMREZA_STUDIO_FILES_H_
#define POLIMREZA_STUDIO_FILES_H_

#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "alphabet/alphabet.h"
#include "export/numbering.h"
#include "studio/api.h"
#include "text/clue_lines.h"
#include "tool/output_files.h"

namespace polimreza {

// The names of the ipuz files of `folder` that are not hidden, sorted.
std::vector<std::string> ListIpuzFiles(const std::filesystem::path& folder);

// Writes `files` all or none, replacing existing ones only with `overwrite`;
// the refusal for a file in the way (409) or a failed write (500).
std::optional<ApiError> WriteFiles(const std::vector<OutputFile>& files,
                                   bool overwrite);

// The puzzle of `request` numbered for the writers: letters in the
// alphabet's script (a Serbian one's letters and language known to the
// writers), open squares without one empty, the author and which letters
// are the author's, the title defaulting as polimreza-export's does.
NumberedPuzzle NumberStudioPuzzle(const SaveRequest& request,
                                  const Alphabet& alphabet);

// The ipuz text of `request` saved unfinished: its title as given, the
// author's letters kept apart.
std::string StudioIpuz(const SaveRequest& request, const Alphabet& alphabet);

// POST /api/save into `folder`: the reply body, or the refusal.
Decoded<std::string> SavePuzzle(const std::filesystem::path& folder,
                                const SaveRequest& request,
                                const Alphabet& alphabet);

// POST /api/open from `folder`: the reply body, or the refusal (404 for a
// missing file).
Decoded<std::string> OpenPuzzle(const std::filesystem::path& folder,
                                const std::string& name,
                                const Alphabet& alphabet);

// POST /api/export into `folder`: NAME-stampa.html, NAME-resenje.ipuz and
// NAME-stampa.svg as polimreza-export writes them, never the save NAME.ipuz
// (a skandinavka: the page and the SVG, its clues broken into lines with
// `hyphenator`, none: without hyphenation, as ipuz has no such kind); the
// reply body, or the refusal (400 when a square has no letter or a
// skandinavka no clue layout).
Decoded<std::string> ExportPuzzle(const std::filesystem::path& folder,
                                  const SaveRequest& request,
                                  const Alphabet& alphabet,
                                  const Hyphenator* hyphenator = nullptr);

}  // namespace polimreza

#endif  // POLIMREZA_STUDIO_FILES_H_
