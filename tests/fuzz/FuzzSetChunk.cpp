// effSetChunk as a host calls it: the first byte chooses a program (even) or a bank
// (odd), the rest is the chunk. A chunk with no state behind its header changes nothing;
// any other leaves a valid instrument. A program chunk touches no slot but the current
// one, and an accepted chunk reads back as one that loads again.
#include "FuzzInstrument.h"

namespace
{
// Where effSetChunk starts to read (the chunk header's rule); -1 when nothing can be.
long ReadPosition(const Fuzz::Bytes& chunk)
{
  if (chunk.size() >= 4 && Fuzz::Int32At(chunk, 0) == ProgramFile::kChunkMagic)
    return chunk.size() >= 8 ? 8 : -1;
  return 0;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) // NOLINT
{
  if (size == 0)
    return 0;
  Fuzz::Instrument& inst = Fuzz::TheInstrument();
  const bool bank = (data[0] & 1) != 0;
  const Fuzz::Bytes chunk(data + 1, data + size);
  const int current = inst.plug->GetCurrentPresetIdx();
  const Fuzz::Instrument::Snapshot before = inst.Take();

  const intptr_t accepted = inst.SetChunk(chunk, bank);
  const long position = ReadPosition(chunk);
  if (!accepted && (position < 0 || size_t(position) >= chunk.size()))
  {
    inst.CheckUnchanged(before);
    return 0;
  }
  const Fuzz::Instrument::Snapshot after = inst.CheckValid();
  Fuzz::Require(inst.plug->GetCurrentPresetIdx() == current || bank,
                "a program chunk keeps the current slot");
  if (!bank || !accepted)
  {
    if (!bank)
    {
      const auto old = inst.CheckBank(before.bank);
      const auto now = inst.CheckBank(after.bank);
      for (size_t i = 0; i < old.size(); ++i)
        Fuzz::Require(int(i) == current || old[i] == now[i],
                      "a program chunk touches no other slot");
    }
    if (!accepted)
      return 0;
  }
  const Fuzz::Bytes& again = bank ? after.bank : after.program;
  // (Not always to the same bytes: loading routes every value, and a linked or
  // tempo-synchronised LFO then sets the other rates.)
  Fuzz::Require(inst.SetChunk(again, bank) == 1, "a chunk read back loads again");
  inst.CheckValid();
  return 0;
}
