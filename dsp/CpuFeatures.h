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

// AVX-512 foundation and vector-length instructions with the operating system saving
// their registers: 32 vector registers and eight doubles a vector.
inline const bool kHasAvx512 = []
{
  __builtin_cpu_init();
  return kHasAvx2 && __builtin_cpu_supports("avx512f") != 0 &&
         __builtin_cpu_supports("avx512vl") != 0;
}();

// The widest kernel a block loop may take: tests lower it to compare the kernels.
enum class Kernel
{
  Baseline, // two doubles a vector, every x86-64 processor
  Avx2,
  Avx512
};
inline Kernel widestKernel()
{
  return kHasAvx512 ? Kernel::Avx512 : kHasAvx2 ? Kernel::Avx2 : Kernel::Baseline;
}

} // namespace Dsp
