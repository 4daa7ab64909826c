// Program files (.fxp) loaded from disk. A file that is not one of ours, or holds no state
// behind its chunk header, changes nothing; any other leaves a valid instrument. An
// accepted program, saved again, loads again.
#include "FuzzInstrument.h"
#include "synth/Thumpgeist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) // NOLINT
{
  Fuzz::Instrument& inst = Fuzz::TheInstrument();
  static const std::string kPath = Fuzz::TempPath("program.fxp");
  static const std::string kCopy = Fuzz::TempPath("saved.fxp");
  Fuzz::WriteFile(kPath, data, size);
  const Fuzz::Instrument::Snapshot before = inst.Take();

  const bool accepted = inst.plug->LoadProgramFile(kPath.c_str());
  ProgramFile::Contents contents;
  const bool parsed = ProgramFile::Parse(Fuzz::Bytes(data, data + size), Thumpgeist::kUniqueID,
                                         Thumpgeist::kNumParams, &contents);
  if (!parsed || (contents.isChunk && contents.statePosition >= contents.state.Size()))
  {
    Fuzz::Require(!accepted, "a file that is not a program is refused");
    inst.CheckUnchanged(before);
    return 0;
  }
  inst.CheckValid();
  if (!accepted)
    return 0;
  Fuzz::Require(inst.plug->SaveProgramFile(kCopy.c_str()), "the program saves");
  Fuzz::Require(inst.plug->LoadProgramFile(kCopy.c_str()), "the saved program loads");
  inst.CheckValid();
  return 0;
}
