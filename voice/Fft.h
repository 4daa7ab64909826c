#pragma once

#include <complex>
#include <cstdint>
#include <vector>

namespace Korvane
{

// Radix-2 fast Fourier transform of one fixed power-of-two size. The waveform provider
// uses it at construction to band-limit its single cycles (4096 points); nothing in the
// audio path transforms. Twiddles and bit-reversal orders are computed once here.
//
// Conventions: forward X[k] = sum_n x[n] e^(-2 pi i k n / N), unnormalised; the inverse
// complex transform is the same sum with e^(+...), also unnormalised; inverseReal divides
// by N, so inverseReal(forwardReal(x)) == x.
class Fft
{
public:
  // size must be a power of two, at least 4; other sizes are raised to the next one.
  explicit Fft(int size);

  int size() const noexcept { return n; }

  // In-place complex transform of size() points.
  void transform(std::complex<double>* data, bool inverse) const noexcept;

  // Spectrum of size() real samples: bins 0..size()/2 (size()/2 + 1 values); the
  // remaining bins are the complex conjugates of these.
  void forwardReal(const double* input, std::complex<double>* spectrum) noexcept;

  // size() real samples from bins 0..size()/2 of a spectrum whose other half is taken
  // as the conjugate mirror (the imaginary parts of bins 0 and size()/2 are ignored).
  void inverseReal(const std::complex<double>* spectrum, double* output) noexcept;

private:
  // Transform of m = n or n/2 points, interleaved re/im.
  void run(double* data, int m, const std::uint32_t* order, bool inverse) const noexcept;

  int n;
  std::vector<double> twiddle; // cos, sin of -2 pi j / n, j < n/2, interleaved
  // Per stage of length len (8 and up), its twiddles e^(-2 pi i j / len), j < len/2,
  // contiguous: real parts in stageRe, imaginary parts in stageIm, starting at len/2.
  std::vector<double> stageRe;
  std::vector<double> stageIm;
  std::vector<std::uint32_t> orderFull; // bit reversal for n points
  std::vector<std::uint32_t> orderHalf; // bit reversal for n/2 points
  std::vector<double> work;             // n/2 complex values for the real transforms
};

} // namespace Korvane
