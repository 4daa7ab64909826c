#include "plugin/ProgramFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace ProgramFile
{
namespace
{
void PutBE32(uint8_t* at, uint32_t v)
{
  at[0] = uint8_t(v >> 24);
  at[1] = uint8_t(v >> 16);
  at[2] = uint8_t(v >> 8);
  at[3] = uint8_t(v);
}

uint32_t GetBE32(const std::vector<uint8_t>& in, size_t at)
{
  return uint32_t(in[at]) << 24 | uint32_t(in[at + 1]) << 16 | uint32_t(in[at + 2]) << 8 |
         uint32_t(in[at + 3]);
}

bool HasTag(const std::vector<uint8_t>& in, size_t at, const char* tag)
{
  return std::memcmp(in.data() + at, tag, 4) == 0;
}
} // namespace

std::vector<uint8_t> Write(int32_t uniqueID, int32_t versionDecimal, int nParams,
                           const std::string& programName, const ByteBuffer& chunk)
{
  uint8_t header[kHeaderSize] = {};
  std::memcpy(header + 0, "CcnK", 4);
  PutBE32(header + 4, uint32_t(chunk.Size() + kHeaderSize));
  std::memcpy(header + 8, "FPCh", 4);
  PutBE32(header + 12, 1);
  PutBE32(header + 16, uint32_t(uniqueID));
  PutBE32(header + 20, uint32_t(versionDecimal));
  PutBE32(header + 24, uint32_t(nParams));
  // The name field holds at most 27 characters and always ends with a zero byte.
  std::memcpy(header + kNameOffset, programName.data(),
              std::min<size_t>(programName.size(), kNameSize - 1));
  PutBE32(header + kParamsOffset, uint32_t(chunk.Size()));

  std::vector<uint8_t> out(size_t(kHeaderSize) + size_t(chunk.Size()));
  std::memcpy(out.data(), header, kHeaderSize);
  if (chunk.Size() > 0)
    std::memcpy(out.data() + kHeaderSize, chunk.Data(), size_t(chunk.Size()));
  return out;
}

bool Parse(const std::vector<uint8_t>& bytes, int32_t uniqueID, int nParams, Contents* out)
{
  // Everything up to the chunk length (or the first "FxCk" value) must be there.
  if (bytes.size() < size_t(kParamsOffset))
    return false;
  if (!HasTag(bytes, 0, "CcnK") || GetBE32(bytes, 12) != 1 ||
      int32_t(GetBE32(bytes, 16)) != uniqueID || int32_t(GetBE32(bytes, 24)) != nParams)
    return false;

  const char* name = reinterpret_cast<const char*>(bytes.data() + kNameOffset);
  out->name.assign(name, strnlen(name, kNameSize));

  if (HasTag(bytes, 8, "FPCh"))
  {
    if (bytes.size() < size_t(kHeaderSize))
      return false;
    const uint32_t length = GetBE32(bytes, kParamsOffset);
    if (length > bytes.size() - size_t(kHeaderSize))
      return false;
    out->isChunk = true;
    out->state.Clear();
    out->state.PutBytes(bytes.data() + kHeaderSize, int(length));
    int32_t magic = 0;
    out->statePosition = 0;
    if (out->state.GetInt32(&magic, 0) > 0 && magic == kChunkMagic)
      out->statePosition = 8;
    return true;
  }
  if (HasTag(bytes, 8, "FxCk"))
  {
    if (bytes.size() < size_t(kParamsOffset) + 4 * size_t(nParams))
      return false;
    out->isChunk = false;
    out->normalized.resize(size_t(nParams));
    for (int i = 0; i < nParams; ++i)
    {
      const uint32_t raw = GetBE32(bytes, size_t(kParamsOffset + 4 * i));
      float value;
      std::memcpy(&value, &raw, 4);
      out->normalized[size_t(i)] = value;
    }
    return true;
  }
  return false;
}

bool ReadWholeFile(const char* path, std::vector<uint8_t>* bytes)
{
  std::FILE* f = std::fopen(path, "rb");
  if (!f)
    return false;
  bytes->clear();
  uint8_t block[65536];
  size_t n;
  while ((n = std::fread(block, 1, sizeof block, f)) > 0)
    bytes->insert(bytes->end(), block, block + n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}
} // namespace ProgramFile
