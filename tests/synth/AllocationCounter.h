#pragma once
// Counts the allocations made on this thread while a counter is alive, to show that
// what the block calls never allocates. The test program replaces the global operator
// new and delete for this (AllocationCounter.cpp).

// Sets the count to 0 and counts until destroyed.
class AllocationCounter
{
public:
  AllocationCounter();
  ~AllocationCounter();
  AllocationCounter(const AllocationCounter&) = delete;
  AllocationCounter& operator=(const AllocationCounter&) = delete;
  int Count() const;
};
