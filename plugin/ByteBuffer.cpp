#include "plugin/ByteBuffer.h"

#include <algorithm>
#include <bit>
#include <cstring>

// States are stored as the bytes of little-endian values, as both targets hold them.
static_assert(sizeof(double) == 8 && sizeof(int32_t) == 4);
static_assert(std::endian::native == std::endian::little);

void ByteBuffer::Reserve(int size)
{
  if (size <= int(mBytes.size()))
    return;
  // Amortised growth in whole granules: at least double what is there.
  size_t want = std::max<size_t>(size_t(size), mBytes.size() * 2);
  want = (want + size_t(mGranularity) - 1) / size_t(mGranularity) * size_t(mGranularity);
  mBytes.resize(want);
}

void ByteBuffer::Resize(int size)
{
  if (size < 0)
    size = 0;
  Reserve(size);
  mSize = size;
}

void ByteBuffer::PutBytes(const void* data, int size)
{
  if (size <= 0)
    return;
  const int at = mSize;
  Resize(mSize + size);
  std::memcpy(mBytes.data() + at, data, size_t(size));
}

void ByteBuffer::PutString(const std::string& text)
{
  PutInt32(int32_t(text.size()));
  PutBytes(text.data(), int(text.size()));
}

int ByteBuffer::GetBytes(void* dst, int size, int position) const
{
  if (!CanRead(position, size))
    return -1;
  if (size > 0)
    std::memcpy(dst, mBytes.data() + position, size_t(size));
  return position + size;
}

int ByteBuffer::GetInt32(int32_t* value, int position) const
{
  return GetBytes(value, sizeof *value, position);
}

int ByteBuffer::GetDouble(double* value, int position) const
{
  return GetBytes(value, sizeof *value, position);
}

int ByteBuffer::GetByte(uint8_t* value, int position) const { return GetBytes(value, 1, position); }

int ByteBuffer::GetString(std::string* text, int position) const
{
  int32_t length = 0;
  position = GetInt32(&length, position);
  if (position < 0 || !CanRead(position, length))
    return -1;
  text->assign(reinterpret_cast<const char*>(mBytes.data()) + position, size_t(length));
  return position + length;
}

bool ByteBuffer::IsEqual(const ByteBuffer& other) const
{
  return mSize == other.mSize &&
         (mSize == 0 || std::memcmp(Data(), other.Data(), size_t(mSize)) == 0);
}
