// Preset text files read into the current program: every file that opens is taken, and
// leaves a valid instrument whose current slot holds what it now plays.
#include "FuzzInstrument.h"
#include "synth/Thumpgeist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) // NOLINT
{
  Fuzz::Instrument& inst = Fuzz::TheInstrument();
  auto* synth = static_cast<Thumpgeist*>(inst.plug);
  static const std::string kPath = Fuzz::TempPath("preset.txt");
  Fuzz::WriteFile(kPath, data, size);
  Fuzz::Require(synth->LoadPresetTextFile(kPath.c_str()), "a preset text file that opens loads");
  const Fuzz::Instrument::Snapshot after = inst.CheckValid();
  const auto slots = inst.CheckBank(after.bank);
  const Fuzz::Bytes& slot = slots[size_t(inst.plug->GetCurrentPresetIdx())];
  Fuzz::Require(slot.size() >= after.program.size() - 8 &&
                    std::equal(after.program.begin() + 8, after.program.end(),
                               slot.end() - long(after.program.size() - 8)),
                "the current slot holds the loaded sound");
  return 0;
}
