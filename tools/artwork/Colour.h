#pragma once
// A colour of the artwork: red, green, blue and alpha as floats in 0..1, not
// premultiplied. The canvas stores premultiplied pixels and converts on the way in.
#include <cstdint>

struct Colour
{
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;
  float a = 1.0f;

  // 0xRRGGBB with an alpha in 0..1.
  static constexpr Colour Hex(std::uint32_t rgb, float alpha = 1.0f)
  {
    return {float((rgb >> 16) & 0xFF) / 255.0f, float((rgb >> 8) & 0xFF) / 255.0f,
            float(rgb & 0xFF) / 255.0f, alpha};
  }
  constexpr Colour WithAlpha(float alpha) const { return {r, g, b, alpha}; }
  // The straight mix of two colours, t = 0 gives this one.
  constexpr Colour Mix(const Colour& other, float t) const
  {
    return {r + (other.r - r) * t, g + (other.g - g) * t, b + (other.b - b) * t,
            a + (other.a - a) * t};
  }
};
