#pragma once
// One program slot: whether it holds a state, its name and the stored state.
#include "plugin/ByteBuffer.h"

#include <string>

struct Preset
{
  static constexpr int kMaxNameLength = 255;

  bool initialised = false;
  std::string name = "empty";
  ByteBuffer state;
};
