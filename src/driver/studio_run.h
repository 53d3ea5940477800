// The run of polimreza-studio from its command line to its exit status:
// options, the lists and the working folder, the server on this machine
// until SIGINT or SIGTERM, and the browser opened on request.
#ifndef POLIMREZA_DRIVER_STUDIO_RUN_H_
#define POLIMREZA_DRIVER_STUDIO_RUN_H_

#include <ostream>

namespace polimreza {

// The program: parses `argv`, serves until a signal, and gives the exit
// status (kExitUsage for a usage error or a folder or file that cannot be
// read, 1 when the server cannot start).
int RunStudio(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace polimreza

#endif  // POLIMREZA_DRIVER_STUDIO_RUN_H_
