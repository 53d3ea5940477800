// Memory running out in the studio's server: a pool for small allocations
// (some are destructors', which cannot throw) and a reserve held back for
// the unwinding of a failed request.
#ifndef POLIMREZA_STUDIO_MEMORY_RESERVE_H_
#define POLIMREZA_STUDIO_MEMORY_RESERVE_H_

#include <cstddef>

// 1 when the program's operator new and delete are replaced here, to serve
// small allocations from the pool; a sanitizer's own are left in place, and
// with them only the reserve for unwinding works.
#if defined(__SANITIZE_ADDRESS__)
#define POLIMREZA_OWN_NEW 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define POLIMREZA_OWN_NEW 0
#endif
#endif
#ifndef POLIMREZA_OWN_NEW
#define POLIMREZA_OWN_NEW 1
#endif

namespace polimreza {

// Installs the process's new-handler, holds `bytes` back for unwinding and
// takes half as much for the pool. From then on an allocation under 64 KiB
// that the C library cannot make comes from the pool. One that still fails
// while an exception unwinds the thread or is being handled takes the
// reserve, or, when it is gone, waits for memory to come back; elsewhere
// it throws std::bad_alloc.
void InstallMemoryReserve(std::size_t bytes);

// Holds the reserve back again if it was given back and there is memory.
void RearmMemoryReserve();

}  // namespace polimreza

#endif  // POLIMREZA_STUDIO_MEMORY_RESERVE_H_
