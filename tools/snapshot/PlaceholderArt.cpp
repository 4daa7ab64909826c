#include "tools/snapshot/PlaceholderArt.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
constexpr double kPi = 3.14159265358979323846;

std::uint32_t Rgba(int r, int g, int b, int a = 255)
{
  auto c = [](int v) { return std::uint32_t(std::clamp(v, 0, 255)); };
  return c(a) << 24 | c(r) << 16 | c(g) << 8 | c(b);
}

int R(std::uint32_t p) { return int(p >> 16 & 0xFF); }
int G(std::uint32_t p) { return int(p >> 8 & 0xFF); }
int B(std::uint32_t p) { return int(p & 0xFF); }

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, double t)
{
  t = std::clamp(t, 0.0, 1.0);
  auto m = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
  return Rgba(m(R(a), R(b)), m(G(a), G(b)), m(B(a), B(b)), m(int(a >> 24), int(b >> 24)));
}

// Coverage of a pixel by a shape whose signed distance is d (negative inside).
double Cover(double d) { return std::clamp(0.5 - d, 0.0, 1.0); }

std::uint32_t& At(LICE_MemBitmap& b, int x, int y) { return b.GetBits()[y * b.GetRowSpan() + x]; }

// The number before "px" in a name ("KV_Pitch_Knob_40px.png" gives 40), or 0.
int SizeFromName(const char* name)
{
  const char* px = std::strstr(name, "px");
  if (!px)
    return 0;
  const char* p = px;
  while (p > name && p[-1] >= '0' && p[-1] <= '9')
    --p;
  return p < px ? std::atoi(p) : 0;
}

// "WxH" in a name ("filter_button_48x40.png"), or false.
bool BoxFromName(const char* name, int* w, int* h)
{
  for (const char* p = name; *p; ++p)
    if (std::sscanf(p, "%dx%d", w, h) == 2 && *w > 0 && *h > 0 && (p == name || p[-1] == '_'))
      return true;
  return false;
}

int StatesFromName(const char* name)
{
  const char* s = std::strstr(name, "_states");
  if (!s)
    return 0;
  const char* p = s;
  while (p > name && p[-1] >= '0' && p[-1] <= '9')
    --p;
  return p < s ? std::atoi(p) : 0;
}

// An accent colour per resource family, so that sections read apart.
std::uint32_t AccentFor(int number)
{
  static const std::uint32_t kAccents[] = {Rgba(255, 110, 30), Rgba(230, 50, 60),
                                           Rgba(250, 190, 40), Rgba(60, 200, 220)};
  return kAccents[(number / 3) % 4];
}
} // namespace

std::unique_ptr<LICE_MemBitmap> PlaceholderArt::Background(int w, int h)
{
  auto b = std::make_unique<LICE_MemBitmap>(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
    {
      // A dark steel gradient with a faint grain of horizontal brushing.
      const double t = double(y) / h;
      const int grain = int((x * 7 + y * 13) % 5) - 2;
      At(*b, x, y) = Rgba(30 - int(10 * t) + grain, 32 - int(10 * t) + grain, 38 - int(8 * t) + grain);
    }
  // Section panels: slightly raised plates with a bevel.
  const int cols = 4;
  const int rows = 3;
  const int pw = (w - 40) / cols;
  const int ph = (h - 120) / rows;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c)
    {
      const int x0 = 20 + c * pw + 4;
      const int y0 = 70 + r * ph + 4;
      const int x1 = x0 + pw - 8;
      const int y1 = y0 + ph - 8;
      for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
        {
          std::uint32_t p = Rgba(44, 47, 54);
          if (y == y0 || x == x0)
            p = Rgba(70, 74, 82);
          else if (y == y1 - 1 || x == x1 - 1)
            p = Rgba(18, 19, 22);
          else if (y < y0 + 16)
            p = Rgba(52, 55, 63); // the label strip
          At(*b, x, y) = p;
        }
    }
  return b;
}

std::unique_ptr<LICE_MemBitmap> PlaceholderArt::KnobStrip(int size, int frames, std::uint32_t accent)
{
  auto b = std::make_unique<LICE_MemBitmap>(size, size * frames);
  const double c = size / 2.0;
  const double ring = size / 2.0 - 0.5;
  const double body = size / 2.0 - size * 0.16;
  for (int f = 0; f < frames; ++f)
  {
    const double v = frames > 1 ? double(f) / (frames - 1) : 0.0;
    const double angle = (-135.0 + 270.0 * v) * kPi / 180.0;
    const double px = std::sin(angle);
    const double py = -std::cos(angle);
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
      {
        const double dx = x + 0.5 - c;
        const double dy = y + 0.5 - c;
        const double r = std::hypot(dx, dy);
        std::uint32_t p = 0;
        // The ring: lit up to the value's angle, dark beyond, open at the bottom.
        const double a = std::atan2(dx, -dy) * 180.0 / kPi; // 0 at the top, clockwise
        const double ringCover = Cover(r - ring) * Cover(ring - size * 0.1 - r);
        if (ringCover > 0 && std::abs(a) <= 135.0)
        {
          const bool lit = a <= -135.0 + 270.0 * v;
          p = Mix(0, lit ? accent : Rgba(20, 21, 25), 1.0);
          p = (p & 0x00FFFFFFu) | std::uint32_t(ringCover * 255) << 24;
        }
        // The body: a shaded dome lit from the top left.
        const double bodyCover = Cover(r - body);
        if (bodyCover > 0)
        {
          const double light = std::clamp(0.55 - (dx + dy) / (2.5 * body), 0.0, 1.0);
          std::uint32_t face = Mix(Rgba(22, 23, 27), Rgba(96, 100, 110), light);
          // The pointer: a bright line from near the centre to the edge.
          const double along = dx * px + dy * py;
          const double across = std::abs(dx * py - dy * px);
          if (along > body * 0.25 && along < body - 1.0)
            face = Mix(face, Rgba(245, 245, 240), Cover(across - size * 0.05));
          p = Mix(p, face, bodyCover);
          p = (p & 0x00FFFFFFu) |
              std::uint32_t(std::max(double(p >> 24), bodyCover * 255.0)) << 24;
        }
        At(*b, x, f * size + y) = p;
      }
  }
  return b;
}

std::unique_ptr<LICE_MemBitmap> PlaceholderArt::ButtonStrip(int w, int h, int frames,
                                                            std::uint32_t accent)
{
  auto b = std::make_unique<LICE_MemBitmap>(w, h * frames);
  for (int f = 0; f < frames; ++f)
  {
    const double v = frames > 1 ? double(f) / (frames - 1) : 0.0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
      {
        const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
        std::uint32_t p = Mix(Rgba(34, 36, 42), accent, v * (1.0 - 0.4 * y / h));
        if (edge)
          p = Rgba(12, 12, 14);
        At(*b, x, f * h + y) = p;
      }
  }
  return b;
}

std::unique_ptr<LICE_MemBitmap> PlaceholderArt::Panel(int w, int h)
{
  auto b = std::make_unique<LICE_MemBitmap>(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
    {
      const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
      At(*b, x, y) = edge ? Rgba(80, 84, 92) : Rgba(14, 15, 18);
    }
  return b;
}

std::unique_ptr<LICE_MemBitmap> PlaceholderArt::Make(int number, const char* name)
{
  if (!name)
    return nullptr;
  const std::uint32_t accent = AccentFor(number);
  if (number == 111)
    return Background(1220, 835);
  int w = 0;
  int h = 0;
  const int states = StatesFromName(name);
  if (std::strstr(name, "knobs/"))
  {
    const int size = SizeFromName(name) > 0 ? SizeFromName(name) : 40;
    // Stepped knobs have as many frames as states; others a smooth strip.
    return KnobStrip(size, states > 0 ? states : 64, accent);
  }
  if (std::strstr(name, "slider_handle"))
    return ButtonStrip(14, 14, 1, Rgba(220, 220, 225));
  if (std::strstr(name, "switches/") || std::strstr(name, "buttons/"))
  {
    if (!BoxFromName(name, &w, &h))
      w = h = SizeFromName(name) > 0 ? SizeFromName(name) : 24;
    // Tab images hold both frames in their named size.
    if (std::strstr(name, "/tab"))
      return ButtonStrip(w, h / 2, 2, accent);
    return ButtonStrip(w, h, states > 0 ? states : 2, accent);
  }
  if (BoxFromName(name, &w, &h))
    return Panel(w, h);
  return Panel(120, 40);
}
