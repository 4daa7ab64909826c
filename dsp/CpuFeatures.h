#pragma once
// What the processor offers the vector kernels, asked once when the module loads, so
// the audio thread never waits on it.

namespace Dsp
{

inline const bool kHasAvx2 = []
{
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
}();

} // namespace Dsp
