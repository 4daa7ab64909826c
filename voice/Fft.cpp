#include "voice/Fft.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace Korvane
{

namespace
{

std::vector<std::uint32_t> bitReversal(int m)
{
  std::vector<std::uint32_t> order(static_cast<std::size_t>(m));
  int bits = 0;
  while ((1 << bits) < m)
    ++bits;
  for (int i = 0; i < m; ++i)
  {
    std::uint32_t r = 0;
    for (int b = 0; b < bits; ++b)
      if (i & (1 << b))
        r |= 1u << (bits - 1 - b);
    order[static_cast<std::size_t>(i)] = r;
  }
  return order;
}

} // namespace

Fft::Fft(int size) : n(4)
{
  while (n < size)
    n <<= 1;
  twiddle.resize(static_cast<std::size_t>(n));
  for (int j = 0; j < n / 2; ++j)
  {
    const double a = -2.0 * std::numbers::pi * j / n;
    twiddle[2 * j] = std::cos(a);
    twiddle[2 * j + 1] = std::sin(a);
  }
  // Stage twiddles: entry half + j holds e^(-2 pi i j / len) for len = 2 * half.
  stageRe.assign(static_cast<std::size_t>(n), 0.0);
  stageIm.assign(static_cast<std::size_t>(n), 0.0);
  for (int half = 1; half < n; half <<= 1)
    for (int j = 0; j < half; ++j)
    {
      const int t = j * (n / (2 * half));
      stageRe[static_cast<std::size_t>(half + j)] = twiddle[2 * t];
      stageIm[static_cast<std::size_t>(half + j)] = twiddle[2 * t + 1];
    }
  orderFull = bitReversal(n);
  orderHalf = bitReversal(n / 2);
  work.resize(static_cast<std::size_t>(n));
}

void Fft::run(double* d, int m, const std::uint32_t* order, bool inverse) const noexcept
{
  for (int i = 0; i < m; ++i)
  {
    const int j = static_cast<int>(order[i]);
    if (j > i)
    {
      std::swap(d[2 * i], d[2 * j]);
      std::swap(d[2 * i + 1], d[2 * j + 1]);
    }
  }
  // First stage: butterflies of two without multiplications.
  for (int i = 0; i < m; i += 2)
  {
    const double ar = d[2 * i], ai = d[2 * i + 1];
    const double br = d[2 * i + 2], bi = d[2 * i + 3];
    d[2 * i] = ar + br;
    d[2 * i + 1] = ai + bi;
    d[2 * i + 2] = ar - br;
    d[2 * i + 3] = ai - bi;
  }
  // Second stage: butterflies of four, the twiddle is 1 or -i (+i inverse).
  if (m >= 4)
  {
    const double sign4 = inverse ? -1.0 : 1.0;
    for (int i = 0; i < m; i += 4)
    {
      double* a = d + 2 * i;
      const double a0r = a[0], a0i = a[1], a1r = a[2], a1i = a[3];
      const double b0r = a[4], b0i = a[5], b1r = a[6], b1i = a[7];
      // b1 times -i (forward): (b1i, -b1r)
      const double tr = sign4 * b1i, ti = -sign4 * b1r;
      a[0] = a0r + b0r;
      a[1] = a0i + b0i;
      a[4] = a0r - b0r;
      a[5] = a0i - b0i;
      a[2] = a1r + tr;
      a[3] = a1i + ti;
      a[6] = a1r - tr;
      a[7] = a1i - ti;
    }
  }
  const double sign = inverse ? -1.0 : 1.0;
  for (int len = 8; len <= m; len <<= 1)
  {
    const int half = len >> 1;
    const double* wre = stageRe.data() + half;
    const double* wim = stageIm.data() + half;
    for (int start = 0; start < m; start += len)
    {
      double* a = d + 2 * start;
      double* b = a + 2 * half;
      for (int j = 0; j < half; ++j)
      {
        const double wr = wre[j];
        const double wi = sign * wim[j];
        const double br = b[2 * j], bi = b[2 * j + 1];
        const double tr = br * wr - bi * wi;
        const double ti = br * wi + bi * wr;
        const double ar = a[2 * j], ai = a[2 * j + 1];
        a[2 * j] = ar + tr;
        a[2 * j + 1] = ai + ti;
        b[2 * j] = ar - tr;
        b[2 * j + 1] = ai - ti;
      }
    }
  }
}

void Fft::transform(std::complex<double>* data, bool inverse) const noexcept
{
  run(reinterpret_cast<double*>(data), n, orderFull.data(), inverse);
}

void Fft::forwardReal(const double* input, std::complex<double>* spectrum) noexcept
{
  // Even samples as real parts, odd samples as imaginary parts of n/2 complex points.
  const int m = n / 2;
  double* z = work.data();
  for (int i = 0; i < n; ++i)
    z[i] = input[i];
  run(z, m, orderHalf.data(), false);

  // Split: E[k] = (Z[k] + conj Z[m-k]) / 2, O[k] = (Z[k] - conj Z[m-k]) / 2i,
  // X[k] = E[k] + W^k O[k] with W = e^(-2 pi i / n).
  spectrum[0] = {z[0] + z[1], 0.0};
  spectrum[m] = {z[0] - z[1], 0.0};
  for (int k = 1; k < m; ++k)
  {
    const double zr = z[2 * k], zi = z[2 * k + 1];
    const double cr = z[2 * (m - k)], ci = -z[2 * (m - k) + 1];
    const double er = 0.5 * (zr + cr), ei = 0.5 * (zi + ci);
    // (Z - conj Z') / 2i = (dr + i di) / 2i = (di - i dr) / 2
    const double dr = zr - cr, di = zi - ci;
    const double orr = 0.5 * di, oi = -0.5 * dr;
    const double wr = twiddle[2 * k], wi = twiddle[2 * k + 1];
    spectrum[k] = {er + orr * wr - oi * wi, ei + orr * wi + oi * wr};
  }
}

void Fft::inverseReal(const std::complex<double>* spectrum, double* output) noexcept
{
  // Z[k] = E[k] + i O[k] with E[k] = (X[k] + conj X[m-k]) / 2 and
  // O[k] = (X[k] - conj X[m-k]) / (2 W^k); the inverse of Z interleaves the samples.
  const int m = n / 2;
  double* z = work.data();
  const double x0 = spectrum[0].real(), xm = spectrum[m].real();
  z[0] = 0.5 * (x0 + xm);
  z[1] = 0.5 * (x0 - xm);
  for (int k = 1; k < m; ++k)
  {
    const double xr = spectrum[k].real(), xi = spectrum[k].imag();
    const double cr = spectrum[m - k].real(), ci = -spectrum[m - k].imag();
    const double er = 0.5 * (xr + cr), ei = 0.5 * (xi + ci);
    const double dr = 0.5 * (xr - cr), di = 0.5 * (xi - ci);
    // divide by W^k: multiply by conj(W^k)
    const double wr = twiddle[2 * k], wi = -twiddle[2 * k + 1];
    const double orr = dr * wr - di * wi, oi = dr * wi + di * wr;
    // Z = E + i O
    z[2 * k] = er - oi;
    z[2 * k + 1] = ei + orr;
  }
  run(z, m, orderHalf.data(), true);
  const double scale = 1.0 / m;
  for (int i = 0; i < n; ++i)
    output[i] = z[i] * scale;
}

} // namespace Korvane
