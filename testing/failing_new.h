// Replaces the global operator new with one that can be told to fail: FailCountdown is the
// number of allocations left before the next one throws std::bad_alloc (negative: none fails).
// Include it in exactly one file of a test program of its own, since it replaces the
// allocator for the whole program.
#pragma once

#include <cstdlib>
#include <new>

namespace kvl::testing {

inline thread_local long FailCountdown = -1;

// Not inlined, so the compiler never pairs a new it sees with the free of a delete.
[[gnu::noinline]] inline void* AllocateOrFail(std::size_t N) {
  if (FailCountdown >= 0 && FailCountdown-- == 0) throw std::bad_alloc();
  if (void* P = std::malloc(N ? N : 1)) return P;
  throw std::bad_alloc();
}

}  // namespace kvl::testing

void* operator new(std::size_t N) { return kvl::testing::AllocateOrFail(N); }
void* operator new[](std::size_t N) { return kvl::testing::AllocateOrFail(N); }
void operator delete(void* P) noexcept { std::free(P); }
void operator delete[](void* P) noexcept { std::free(P); }
void operator delete(void* P, std::size_t) noexcept { std::free(P); }
void operator delete[](void* P, std::size_t) noexcept { std::free(P); }
