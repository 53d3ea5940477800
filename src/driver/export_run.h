// The run of polimreza-export from its command line to its exit status:
// options, reading the report, and writing the requested files all or none.
#ifndef POLIMREZA_DRIVER_EXPORT_RUN_H_
#define POLIMREZA_DRIVER_EXPORT_RUN_H_

#include <istream>
#include <ostream>

namespace polimreza {

// The program: parses `argv`, reads the report (a file or a pipe, or `in`
// for "-") and writes every requested file; prints what it wrote or the
// error to `out`, the error's first line to `err`; gives the exit status.
int RunExport(int argc, const char* const* argv, std::istream& in,
              std::ostream& out, std::ostream& err);

}  // namespace polimreza

#endif  // POLIMREZA_DRIVER_EXPORT_RUN_H_
