#include "studio/memory_reserve.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <memory_resource>
#include <mutex>
#include <new>
#include <thread>

namespace polimreza {
namespace {

using Clock = std::chrono::steady_clock;

// How long a thread waits for memory before it gives up and throws.
constexpr std::chrono::seconds kMostWait{30};
// A wait that follows the last one by more than this is a new one.
constexpr std::chrono::milliseconds kNewWaitGap{100};
// Allocations below this size are made by destructors too: a JSON value
// frees its members through a stack it allocates, as it goes out of scope
// or as a container that grew destroys the copies it left behind. Those at
// or above it are a request's own (its body, a long text, a long list),
// which may fail it.
constexpr std::size_t kSmallBytes = 64 << 10;

// A block held back for the unwinding of a failed request, given back to
// the C library when an allocation there fails.
std::atomic<void*> reserve{nullptr};
std::atomic<std::size_t> reserve_bytes{0};

// When this thread's present wait for memory began, and when it last tried.
// Trivially destroyed, as every thread-local of the server: one that is not
// registers its destructor with the C library on first use, which allocates.
thread_local Clock::time_point wait_began;
thread_local Clock::time_point last_try;

// Memory of its own for small allocations, used only when the C library
// has none. Its blocks carry their size in front, for operator delete.
class SmallPool {
 public:
  // Takes `bytes` for the pool, the first time only.
  void Hold(std::size_t bytes) {
    std::lock_guard lock(mutex_);
    if (pool_ != nullptr) return;
    char* region = static_cast<char*>(std::malloc(bytes));
    if (region == nullptr) return;
    // Never destroyed: its blocks may be freed as the program ends.
    auto* buffer = new std::pmr::monotonic_buffer_resource(
        region, bytes, std::pmr::null_memory_resource());
    pool_ = new std::pmr::unsynchronized_pool_resource(
        std::pmr::pool_options{0, kSmallBytes + kHeader}, buffer);
    begin_ = reinterpret_cast<std::uintptr_t>(region);
    end_ = begin_ + bytes;
  }

  // A block of `bytes`, or nullptr when the pool is full.
  void* Allocate(std::size_t bytes) noexcept {
    std::lock_guard lock(mutex_);
    if (pool_ == nullptr) return nullptr;
    try {
      auto* block =
          static_cast<char*>(pool_->allocate(bytes + kHeader, kHeader));
      *reinterpret_cast<std::size_t*>(block) = bytes + kHeader;
      return block + kHeader;
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
  }

  bool Owns(const void* block) const noexcept {
    // As addresses: pointers into different blocks have no order.
    const auto at = reinterpret_cast<std::uintptr_t>(block);
    return at >= begin_.load(std::memory_order_relaxed) &&
           at < end_.load(std::memory_order_relaxed);
  }

  void Free(void* block) noexcept {
    char* start = static_cast<char*>(block) - kHeader;
    std::lock_guard lock(mutex_);
    pool_->deallocate(start, *reinterpret_cast<std::size_t*>(start), kHeader);
  }

 private:
  static constexpr std::size_t kHeader = alignof(std::max_align_t);

  std::mutex mutex_;
  std::pmr::unsynchronized_pool_resource* pool_ = nullptr;
  std::atomic<std::uintptr_t> begin_{0};
  std::atomic<std::uintptr_t> end_{0};
};
SmallPool small_pool;

// Other threads give memory back as their requests finish or fail, so a
// while later the allocation may succeed; after kMostWait it throws.
void WaitForMemory() {
  const Clock::time_point now = Clock::now();
  if (now - last_try > kNewWaitGap) wait_began = now;
  last_try = now;
  if (now - wait_began > kMostWait) throw std::bad_alloc();
  std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// Reached when neither the C library nor the small pool has the memory. A
// std::bad_alloc thrown out of a destructor ends the program. While an
// exception unwinds the thread, or a catch handler runs (where a container
// that failed to grow destroys its copies, and no exception counts as
// unwinding), every allocation may be a destructor's: it takes the
// reserve, or waits. Elsewhere the allocation fails its request at once,
// leaving the reserve to the unwinding.
void OnNoMemory() {
  if (std::uncaught_exceptions() == 0 && !std::current_exception()) {
    throw std::bad_alloc();
  }
  if (void* block = reserve.exchange(nullptr)) {
    std::free(block);
    return;
  }
  WaitForMemory();
}

}  // namespace

void InstallMemoryReserve(std::size_t bytes) {
  reserve_bytes = bytes;
  small_pool.Hold(bytes / 2);
  RearmMemoryReserve();
  std::set_new_handler(OnNoMemory);
}

void RearmMemoryReserve() {
  if (reserve.load() != nullptr) return;
  void* block = std::malloc(reserve_bytes);
  void* none = nullptr;
  if (block && !reserve.compare_exchange_strong(none, block)) std::free(block);
}

#if POLIMREZA_OWN_NEW
namespace {

void* Allocate(std::size_t bytes) {
  if (bytes == 0) bytes = 1;
  for (;;) {
    if (void* block = std::malloc(bytes)) return block;
    if (bytes < kSmallBytes) {
      if (void* block = small_pool.Allocate(bytes)) return block;
    }
    const std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}

void* AllocateOrNull(std::size_t bytes) noexcept {
  try {
    return Allocate(bytes);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void Free(void* block) noexcept {
  if (small_pool.Owns(block)) {
    small_pool.Free(block);
  } else {
    std::free(block);
  }
}

}  // namespace
#endif

}  // namespace polimreza

// Every form is replaced together, so that a memory checker sees the blocks
// allocated and freed alike.
#if POLIMREZA_OWN_NEW
void* operator new(std::size_t bytes) { return polimreza::Allocate(bytes); }
void* operator new[](std::size_t bytes) { return polimreza::Allocate(bytes); }
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
  return polimreza::AllocateOrNull(bytes);
}
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept {
  return polimreza::AllocateOrNull(bytes);
}
void operator delete(void* block) noexcept { polimreza::Free(block); }
void operator delete[](void* block) noexcept { polimreza::Free(block); }
void operator delete(void* block, std::size_t) noexcept {
  polimreza::Free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
  polimreza::Free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
  polimreza::Free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
  polimreza::Free(block);
}
#endif
