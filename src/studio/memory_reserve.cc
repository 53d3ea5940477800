#include "studio/memory_reserve.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <exception>
#include <new>
#include <thread>

namespace polimreza {
namespace {

using Clock = std::chrono::steady_clock;

// How long an unwinding thread waits for memory before it gives up, which
// ends the program.
constexpr std::chrono::seconds kMostWait{30};
// A wait that follows the last one by more than this is a new one.
constexpr std::chrono::milliseconds kNewWaitGap{100};

std::atomic<std::size_t> reserve_bytes{0};
std::atomic<void*> reserve{nullptr};
// When this thread's present wait for memory began, and when it last tried.
thread_local Clock::time_point wait_began;
thread_local Clock::time_point last_try;

// A JSON value frees its members through a stack it allocates, in its
// destructor; a std::bad_alloc thrown there ends the program. So only an
// allocation made while no exception unwinds the thread throws. One made
// during the unwinding takes the reserve; when two threads unwind at once,
// the second waits, since the first gives memory back as it finishes, and
// so do the requests that fail meanwhile (they throw).
void OnNoMemory() {
  if (std::uncaught_exceptions() == 0) throw std::bad_alloc();
  if (void* block = reserve.exchange(nullptr)) {
    std::free(block);
    return;
  }
  const Clock::time_point now = Clock::now();
  if (now - last_try > kNewWaitGap) wait_began = now;
  last_try = now;
  if (now - wait_began > kMostWait) throw std::bad_alloc();
  std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace

void InstallMemoryReserve(std::size_t bytes) {
  reserve_bytes = bytes;
  RearmMemoryReserve();
  std::set_new_handler(OnNoMemory);
}

void RearmMemoryReserve() {
  if (reserve.load() != nullptr) return;
  void* block = std::malloc(reserve_bytes);
  void* none = nullptr;
  if (block && !reserve.compare_exchange_strong(none, block)) std::free(block);
}

}  // namespace polimreza
