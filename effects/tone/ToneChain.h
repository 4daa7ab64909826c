#pragma once

#include "dsp/CpuFeatures.h"

namespace Korvane
{

class DumpExpand;
class Equalizer;

// Called from the audio thread (the master chain's tone section), never blocks or
// allocates.
//
// The equaliser and then the dump/expand over one stereo block in place, the same bits as
// eq.process() followed by dump.process(), but sample by sample with both channels in
// vector lanes, so that the four filter recursions overlap instead of running one unit
// after the other. Only while both units run settled: neither fades nor glides, the
// equaliser's mid sits at its centre, the dump/expand's filters are in and the block fits
// one work piece, whose two channels do not overlap. Returns false, having changed nothing,
// otherwise. The mid path, when heard, joins the same pass. `widest` limits the kernel to
// that instruction set or a narrower one the processor has (the same bits; for the tests).
bool processToneChain(Equalizer& eq, DumpExpand& dump, double* left, double* right, int frames,
                      Dsp::Kernel widest = Dsp::widestKernel());

} // namespace Korvane
