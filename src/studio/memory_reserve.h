// Memory running out in the studio's server: a reserve held back for the
// destructors that run while a failed request unwinds, which must allocate
// and cannot throw.
#ifndef POLIMREZA_STUDIO_MEMORY_RESERVE_H_
#define POLIMREZA_STUDIO_MEMORY_RESERVE_H_

#include <cstddef>

namespace polimreza {

// Installs the process's new-handler and holds `bytes` back. From then on
// an allocation that fails throws std::bad_alloc, except while an exception
// unwinds the failing thread: there the reserve is given back and the
// allocation tried again, or, when another thread has it, the allocation
// waits for memory to come back.
void InstallMemoryReserve(std::size_t bytes);

// Holds the reserve back again if it was given back and there is memory.
void RearmMemoryReserve();

}  // namespace polimreza

#endif  // POLIMREZA_STUDIO_MEMORY_RESERVE_H_
