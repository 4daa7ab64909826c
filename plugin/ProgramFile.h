#pragma once
// The program file (.fxp): the VST program file layout with big-endian fields. A
// program is stored as one opaque chunk ("FPCh"); files with a plain list of
// normalized parameter values ("FxCk") are read too.
#include "plugin/ByteBuffer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ProgramFile
{
// The header at the start of every chunk the plug-in hands out: 'pfft' and the
// framework's chunk version.
constexpr int32_t kChunkMagic = 0x70666674;
constexpr int32_t kChunkVersion = 0x00010000;
constexpr int kHeaderSize = 60; // bytes before the chunk of an "FPCh" file
constexpr int kNameOffset = 28;
constexpr int kNameSize = 28;     // at most 27 characters and a terminator
constexpr int kParamsOffset = 56; // "FxCk": the normalized values start here

struct Contents
{
  std::string name;
  bool isChunk = false;           // "FPCh"
  ByteBuffer state;               // "FPCh": the chunk's bytes
  int statePosition = 0;          // where the state starts inside state
  std::vector<double> normalized; // "FxCk": one value per parameter
};

// The bytes of a program file holding chunk (which already carries the chunk header).
std::vector<uint8_t> Write(int32_t uniqueID, int32_t versionDecimal, int nParams,
                           const std::string& programName, const ByteBuffer& chunk);

// Checks and splits a program file; false when it is not one of ours or is cut short.
bool Parse(const std::vector<uint8_t>& bytes, int32_t uniqueID, int nParams, Contents* out);

bool ReadWholeFile(const char* path, std::vector<uint8_t>* bytes);
} // namespace ProgramFile
