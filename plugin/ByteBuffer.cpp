#include "plugin/ByteBuffer.h"

#include <algorithm>
#include <bit>
#include <cstring>

// States are stored as the bytes of little-endian values, as both targets hold them.
static_assert(sizeof(double) == 8 && sizeof(int32_t) == 4);
static_assert(std::endian::native == std::endian::little);

void ByteBuffer::Reserve(int count)
{
  if (count <= int(bytes.size()))
    return;
  // Amortised growth in whole granules: at least double what is there.
  size_t want = std::max<size_t>(size_t(count), bytes.size() * 2);
  want = (want + size_t(granularity) - 1) / size_t(granularity) * size_t(granularity);
  bytes.resize(want);
}

void ByteBuffer::Resize(int count)
{
  if (count < 0)
    count = 0;
  Reserve(count);
  size = count;
}

void ByteBuffer::PutBytes(const void* data, int count)
{
  if (count <= 0)
    return;
  const int at = size;
  Resize(size + count);
  std::memcpy(bytes.data() + at, data, size_t(count));
}

void ByteBuffer::PutString(const std::string& text)
{
  PutInt32(int32_t(text.size()));
  PutBytes(text.data(), int(text.size()));
}

int ByteBuffer::GetBytes(void* dst, int count, int position) const
{
  if (!CanRead(position, count))
    return -1;
  if (count > 0)
    std::memcpy(dst, bytes.data() + position, size_t(count));
  return position + count;
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
  text->assign(reinterpret_cast<const char*>(bytes.data()) + position, size_t(length));
  return position + length;
}

bool ByteBuffer::IsEqual(const ByteBuffer& other) const
{
  return size == other.size && (size == 0 || std::memcmp(Data(), other.Data(), size_t(size)) == 0);
}
