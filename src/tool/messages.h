// The messages the companion programs share, worded once: memory running
// out, nothing having been written, and why files could not be written.
#ifndef POLIMREZA_TOOL_MESSAGES_H_
#define POLIMREZA_TOOL_MESSAGES_H_

#include <string>
#include <string_view>

#include "tool/output_files.h"

namespace polimreza {

inline constexpr std::string_view kOutOfMemory = "Nema dovoljno memorije\n";
inline constexpr std::string_view kNothingWritten = "Nista nije zapisano\n";

// Why the write that gave `result` failed, then what it left: "Nista nije
// zapisano" when no destination changed, otherwise each changed destination
// and where its former contents are. Every line ends in a line feed.
std::string DescribeWriteFailure(const WriteResult& result);

}  // namespace polimreza

#endif  // POLIMREZA_TOOL_MESSAGES_H_
