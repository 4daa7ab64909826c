#pragma once
// The table of PNG images built into the Linux module: the same numbers and bytes as
// the Windows resources of type "PNG". The build generates its definition.
#include <cstddef>

struct PngResourceEntry
{
  int number;
  const unsigned char* data;
  std::size_t size;
};

// The entries in ascending number order; count receives their number.
const PngResourceEntry* PngResourceTable(std::size_t& count);
