#include "synth/FactoryPrograms.h"

#include "synth/programs/ProgramDesign.h"

#include <array>
#include <cassert>
#include <span>

namespace Korvane::FactoryPrograms
{
namespace
{
// The definition of a slot's program: the sections in menu order.
const Programs::Definition* DefinitionOf(int index)
{
  using Section = std::span<const Programs::Definition> (*)();
  static constexpr std::array<Section, 5> kSections = {
      Programs::Kicks, Programs::Drums, Programs::Basses, Programs::Instruments, Programs::Synths};
  if (index < 0)
    return nullptr;
  for (Section section : kSections)
  {
    const std::span<const Programs::Definition> programs = section();
    if (index < int(programs.size()))
      return &programs[size_t(index)];
    index -= int(programs.size());
  }
  return nullptr;
}
} // namespace

VstXSynthProgram Make(int index)
{
  VstXSynthProgram program;
  if (const Programs::Definition* definition = DefinitionOf(index))
  {
    program.SetName(definition->name);
    definition->define(program);
  }
  return program;
}

const char* NameOf(int index)
{
  const Programs::Definition* definition = DefinitionOf(index);
  return definition ? definition->name : "";
}
} // namespace Korvane::FactoryPrograms
