#pragma once
// Messages between the host and the plug-in, in the plug-in's own terms.
#include <cstdint>

struct MidiMessage
{
  int offset = 0; // sample position inside the current block
  uint8_t status = 0;
  uint8_t data1 = 0;
  uint8_t data2 = 0;

  int StatusType() const { return status >> 4; }
  int Channel() const { return status & 0x0F; }
};

struct SysExMessage
{
  int offset = 0;
  int size = 0;
  const uint8_t* data = nullptr;
};
