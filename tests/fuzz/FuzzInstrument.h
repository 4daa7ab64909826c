#pragma once
// What the fuzz targets share: one instrument per process, created as the module's entry
// point creates it and driven through its effect record as a host drives it, and the
// invariants every input must keep. A broken invariant prints what broke and aborts,
// which libFuzzer reports as a finding with the input that caused it.
//
// The invariants:
//  - a refused input that carries nothing to load (no state behind a header, a file that
//    is not one of ours) changes nothing: program and bank read back byte-identical;
//  - a state that is there but short, or holds a value that is not a number, is refused
//    after loading what it holds (the persisted state's rule); it and every accepted
//    input leave each parameter finite and within its range, and every curve point
//    finite, in the instrument and in every program slot of the bank it hands out.
#include "plugin/IPlugVST.h"
#include "plugin/ProgramFile.h"
#include "synth/StateChunk.h"
#include "synth/Thumpgeist.h"
#include "vst/Vst24.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace Fuzz
{
using Bytes = std::vector<uint8_t>;

[[noreturn]] inline void Fail(const char* what)
{
  std::fprintf(stderr, "fuzz: invariant broken: %s\n", what);
  std::abort();
}

inline void Require(bool ok, const char* what)
{
  if (!ok)
    Fail(what);
}

// A file of this process's own in the temporary folder, rewritten for every input.
inline std::string TempPath(const char* name)
{
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir && dir[0] ? dir : "/tmp") + "/tgfuzz-" + std::to_string(getpid()) + "-" +
         name;
}

inline void WriteFile(const std::string& path, const uint8_t* data, size_t size)
{
  std::FILE* f = std::fopen(path.c_str(), "wb");
  Require(f != nullptr, "the temporary file can be written");
  Require(size == 0 || std::fwrite(data, 1, size, f) == size, "the temporary file is written");
  std::fclose(f);
}

inline int32_t Int32At(const Bytes& bytes, size_t at)
{
  int32_t v = 0;
  std::memcpy(&v, bytes.data() + at, 4);
  return v;
}

inline double DoubleAt(const Bytes& bytes, size_t at)
{
  double v = 0.0;
  std::memcpy(&v, bytes.data() + at, 8);
  return v;
}

// The host side: answers the host version and nothing else.
inline intptr_t VSTCALLBACK QuietHost(Vst::AEffect*, int32_t opcode, int32_t, intptr_t, void*,
                                      float)
{
  return opcode == Vst::audioMasterVersion ? 2400 : 0;
}

class Instrument
{
public:
  static constexpr double kSampleRate = 44100.0;
  static constexpr int kBlockSize = 512;

  // The instrument as the module makes it, without the editor.
  Instrument() : plug(new Thumpgeist(QuietHost))
  {
    Require(plug != nullptr, "the module creates its instrument");
    plug->FillEmptyPresets(plug->NPresets());
    effect = plug->GetAEffect();
    Dispatch(Vst::effOpen);
    Dispatch(Vst::effSetSampleRate, 0, 0, nullptr, float(kSampleRate));
    Dispatch(Vst::effSetBlockSize, 0, kBlockSize);
    Dispatch(Vst::effMainsChanged, 0, 1);
  }

  intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f)
  {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }

  // The chunk the host reads back: the bank (every slot) or the current program.
  Bytes Chunk(bool bank)
  {
    void* data = nullptr;
    const intptr_t size = Dispatch(Vst::effGetChunk, bank ? 0 : 1, 0, &data);
    Require(size > 0 && data != nullptr, "effGetChunk hands out a chunk");
    const auto* p = static_cast<const uint8_t*>(data);
    return Bytes(p, p + size);
  }

  intptr_t SetChunk(const Bytes& chunk, bool bank)
  {
    return Dispatch(Vst::effSetChunk, bank ? 0 : 1, intptr_t(chunk.size()),
                    const_cast<uint8_t*>(chunk.data()));
  }

  struct Snapshot
  {
    Bytes program;
    Bytes bank;
  };
  Snapshot Take() { return {Chunk(false), Chunk(true)}; }

  // One StateChunk at bytes[at]: the curve finite, each value finite and in range.
  size_t CheckState(const Bytes& bytes, size_t at)
  {
    Require(bytes.size() - at >= size_t(StateChunk::kSize), "a whole state is held");
    Require(Int32At(bytes, at) == StateChunk::kCount, "a state starts with its count");
    at += 4;
    for (int i = 0; i < StateChunk::kCurvePoints; ++i, at += 8)
      Require(std::isfinite(DoubleAt(bytes, at)), "every curve point is finite");
    for (int i = 0; i < StateChunk::kValues; ++i, at += 8)
    {
      const IParameter* param = plug->GetParam(i);
      const double v = DoubleAt(bytes, at);
      Require(std::isfinite(v), "every stored value is finite");
      Require(!param || (v >= param->Min() && v <= param->Max()),
              "every stored value lies within its parameter's range");
    }
    return at;
  }

  void CheckProgram(const Bytes& chunk)
  {
    Require(chunk.size() == size_t(8 + StateChunk::kSize), "a program chunk is one state");
    Require(Int32At(chunk, 0) == ProgramFile::kChunkMagic, "a program chunk has its header");
    CheckState(chunk, 8);
  }

  // The bank's slots, each as its bytes (name, flag and state), after checking each.
  std::vector<Bytes> CheckBank(const Bytes& chunk)
  {
    Require(chunk.size() >= 8 && Int32At(chunk, 0) == ProgramFile::kChunkMagic,
            "a bank chunk has its header");
    std::vector<Bytes> slots;
    size_t at = 8;
    for (int slot = 0; slot < plug->NPresets(); ++slot)
    {
      const size_t start = at;
      Require(chunk.size() - at >= 5, "a bank holds every slot");
      const int32_t length = Int32At(chunk, at);
      Require(length >= 0 && length <= Preset::kMaxNameLength, "a slot name fits its field");
      at += 4 + size_t(length);
      Require(at < chunk.size(), "a slot has its flag");
      if (chunk[at++] != 0)
        at = CheckState(chunk, at);
      slots.emplace_back(chunk.begin() + long(start), chunk.begin() + long(at));
    }
    Require(at == chunk.size(), "a bank ends after its last slot");
    return slots;
  }

  // Every parameter finite and in range, and both chunks read back well formed.
  Snapshot CheckValid()
  {
    for (int i = 0; i < plug->NParams(); ++i)
    {
      const IParameter* param = plug->GetParam(i);
      const double v = param->Value();
      Require(std::isfinite(v) && v >= param->Min() && v <= param->Max(),
              "every parameter is finite and within its range");
    }
    Snapshot now = Take();
    CheckProgram(now.program);
    CheckBank(now.bank);
    return now;
  }

  void CheckUnchanged(const Snapshot& before)
  {
    const Snapshot after = Take();
    Require(after.program == before.program, "a refused input leaves the program as it was");
    Require(after.bank == before.bank, "a refused input leaves the bank as it was");
  }

  IPlugVST* plug;
  Vst::AEffect* effect = nullptr;
};

inline Instrument& TheInstrument()
{
  static Instrument instrument;
  return instrument;
}
} // namespace Fuzz
