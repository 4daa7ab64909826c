#pragma once
// The raster operations the editor draws with: blits with the four blend kinds,
// filled rectangles and triangles, lines, and coverage masks (text). Every operation
// is clipped to the destination bitmap and to a clip rectangle; nothing is written
// outside both.
#include "editor/core/IGraphicsStructs.h"
#include "editor/raster/LICE_IBitmap.h"

class LICE_Draw
{
public:
  // Copies the w x h block at (srcX, srcY) of src to (dstX, dstY) of dest with the
  // blend kind; weight is the opacity. Parts outside either bitmap or the clip are
  // left out.
  static void Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstX, int dstY, int srcX, int srcY,
                   int w, int h, const IRect& clip, float weight, BlendKind kind);
  // Fills the rectangle with the colour word. With useSourceAlpha the weight is first
  // multiplied by the colour's alpha / 255. Weight 1 writes the colour, 0.5 averages
  // it with what is there, other weights blend proportionally.
  static void FillRect(LICE_IBitmap* dest, int x, int y, int w, int h, std::uint32_t color,
                       float weight, bool useSourceAlpha, const IRect& clip);
  // A one-pixel line from (x1, y1) to (x2, y2), both ends included.
  static void Line(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, std::uint32_t color,
                   float weight, bool useSourceAlpha, const IRect& clip);
  // The pixels whose centres lie inside the triangle.
  static void FillTriangle(LICE_IBitmap* dest, const int xs[3], const int ys[3],
                           std::uint32_t color, float weight, bool useSourceAlpha,
                           const IRect& clip);
  // Blends the colour through an 8-bit coverage mask of w x h (pitch bytes a row)
  // placed at (x, y); coverage 255 is the colour at its own alpha and the weight.
  static void DrawMask(LICE_IBitmap* dest, const std::uint8_t* mask, int pitch, int x, int y,
                       int w, int h, std::uint32_t color, float weight, const IRect& clip);

  // One pixel combined by a blend kind with a factor of 0..256 (256 = opaque); the
  // kinds other than Copy scale the factor by the source's alpha.
  static std::uint32_t Combine(std::uint32_t dst, std::uint32_t src, int factor, BlendKind kind);
};
