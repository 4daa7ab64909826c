#include "synth/MasterChain.h"

// The effect units come with the master chain; until then every stage passes the
// signal through unchanged.

void MasterChain::Reset(double sampleRate, int blockSize, double hostTempo) {}

void MasterChain::UpdateTempo(double hostTempo) {}

void MasterChain::RouteParameter(int paramIdx, const Korvane::SynthParams& params) {}

void MasterChain::ApplyPendingCurveOperation() {}

void MasterChain::ProcessEffects(double* left, double* right, const double* filterEnvBus,
                                 int frames, const Korvane::SynthParams& params)
{
}

void MasterChain::ProcessOutputSaturation(double* left, double* right, int frames) {}

void MasterChain::ProcessBassLayer(double* bassBus, double* bassCopy, int frames,
                                   const Korvane::SynthParams& params)
{
}

void MasterChain::ProcessTempoDelay(double* left, double* right, int frames) {}

void MasterChain::FeedLevelFollower(const double* left, const double* right, int frames) {}
