#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace
{
thread_local bool tCountAllocations = false;
thread_local int tAllocations = 0;
} // namespace

AllocationCounter::AllocationCounter()
{
  tAllocations = 0;
  tCountAllocations = true;
}
AllocationCounter::~AllocationCounter() { tCountAllocations = false; }
int AllocationCounter::Count() const { return tAllocations; }

// Out of line, so the compiler does not pair an inlined free with operator new.
__attribute__((noinline)) void* operator new(std::size_t size)
{
  if (tCountAllocations)
    ++tAllocations;
  if (void* p = std::malloc(size ? size : 1))
    return p;
  throw std::bad_alloc();
}
__attribute__((noinline)) void* operator new[](std::size_t size) { return operator new(size); }
__attribute__((noinline)) void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
  if (tCountAllocations)
    ++tAllocations;
  return std::malloc(size ? size : 1);
}
__attribute__((noinline)) void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept
{
  return operator new(size, tag);
}
// Every plain form is replaced, so each allocation is freed by its own family.
__attribute__((noinline)) void operator delete(void* p) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete(void* p, std::size_t) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete[](void* p) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
