#include "plugin/TextUtil.h"

void CopyText(char* dst, const char* src, std::size_t size)
{
  if (!dst || size == 0)
    return;
  std::size_t i = 0;
  if (src)
    for (; i + 1 < size && src[i]; ++i)
      dst[i] = src[i];
  dst[i] = 0;
}
