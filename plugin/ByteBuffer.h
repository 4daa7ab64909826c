#pragma once
// A growable byte buffer for states, banks and program files. Values are stored
// little-endian (int32, IEEE 754 double); every Get takes a read position and returns
// the next one, or -1 when fewer bytes remain than it needs (or the position is
// already -1), so a chain of reads stops safely at the first short one.
#include <cstdint>
#include <string>
#include <vector>

class ByteBuffer
{
public:
  explicit ByteBuffer(int step = 4096) : granularity(step > 0 ? step : 1) {}

  void PutInt32(int32_t value) { PutBytes(&value, sizeof value); }
  void PutDouble(double value) { PutBytes(&value, sizeof value); }
  void PutString(const std::string& text);
  void PutBuffer(const ByteBuffer& other) { PutBytes(other.Data(), other.Size()); }
  void PutBytes(const void* data, int size);
  void PutByte(uint8_t value) { PutBytes(&value, 1); }

  int GetInt32(int32_t* value, int position) const;
  int GetDouble(double* value, int position) const;
  // An int32 length L, then L bytes; -1 when L is negative or exceeds what remains.
  int GetString(std::string* text, int position) const;
  int GetByte(uint8_t* value, int position) const;
  int GetBytes(void* dst, int size, int position) const;

  // Whether size bytes can be read from position.
  bool CanRead(int position, int count) const
  {
    return position >= 0 && count >= 0 && int64_t(position) + count <= int64_t(Size());
  }

  void Resize(int size);
  void Clear() { size = 0; }
  int Size() const { return size; }
  const uint8_t* Data() const { return bytes.data(); }
  uint8_t* Data() { return bytes.data(); }
  bool IsEqual(const ByteBuffer& other) const;

private:
  void Reserve(int size);

  int granularity;
  int size = 0;
  std::vector<uint8_t> bytes;
};
