#pragma once
// The 128 factory programs, one per program slot, as program records. The instrument
// turns them into slot states once, at construction.
#include "synth/VstXSynthProgram.h"

namespace Korvane::FactoryPrograms
{
constexpr int kCount = 128;

// The factory program of a slot: the program defaults with the program's own values
// and its name. Outside 0..127 a program with the program defaults and no name.
VstXSynthProgram Make(int index);
// The name of a slot's program ("" outside 0..127).
const char* NameOf(int index);
} // namespace Korvane::FactoryPrograms
