#pragma once
// The master effect chain: the effect units of the instrument, kept in step with the
// effect parameters and run at fixed points of the block. Each stage is called from
// its place in Thumpgeist::ProcessBlock; the units fill them in.
namespace Korvane
{
struct SynthParams;
}

class MasterChain
{
public:
  // Step 4 of the instrument's Reset: sample rates, block buffers, cleared memories.
  void Reset(double sampleRate, int blockSize, double hostTempo);
  // The tempo-dependent units follow the host's tempo (0 when the host gives none).
  void UpdateTempo(double hostTempo);
  // Stage 2 of the parameter routing: the effect parameters reach their units.
  void RouteParameter(int paramIdx, const Korvane::SynthParams& params);

  // Stage 0, at the start of the block: a curve operation asked for while processing.
  void ApplyPendingCurveOperation();
  // Stage 1, unless all effects are bypassed: filter, ring modulator, phaser,
  // distortion, dynamic shaper, equalizer and dump/expand on the output pair.
  void ProcessEffects(double* left, double* right, const double* filterEnvBus, int frames,
                      const Korvane::SynthParams& params);
  // Stage 2, always: output saturation on the output pair.
  void ProcessOutputSaturation(double* left, double* right, int frames);
  // Stage 3: the bass layer through the second dump/expand and filter when asked to.
  void ProcessBassLayer(double* bassBus, double* bassCopy, int frames,
                        const Korvane::SynthParams& params);
  // Stage 4: the tempo delay on the output pair.
  void ProcessTempoDelay(double* left, double* right, int frames);
  // Stage 5, while the level indicators are shown: the level follower.
  void FeedLevelFollower(const double* left, const double* right, int frames);
};
