// The four stored click transients and how the "Bass-Layer click" value blends them with
// the synthetic chirp.
#include "VoiceTestRig.h"

#include "voice/ClickTransients.h"

#include <gtest/gtest.h>

using namespace VoiceTest;
using Korvane::ClickTransients;
using S = Korvane::SynthParams;

namespace
{

// Rising zero crossings per millisecond over the first `samples` samples: a rough
// measure of how bright a transient is.
double crossingsPerMs(const double* x, int samples)
{
  int n = 0;
  for (int i = 1; i < samples; ++i)
    n += (x[i - 1] < 0.0 && x[i] >= 0.0) ? 1 : 0;
  return n / (samples / 44.1);
}

std::vector<double> clickLayer(double amount, double sampleRate = 44100.0, int samples = 6000)
{
  Rig rig(sampleRate, samples);
  rig.osc(0, S::kOscOn) = 0.0;
  rig.p(S::kBassLayerClick) = amount;
  rig.pool->noteOn(60, 127, 0);
  for (int k = 0; k < samples; ++k)
    rig.pool->renderSample();
  const double* c = rig.pool->voice(0).clickLayerBuffer();
  return std::vector<double>(c, c + samples);
}

} // namespace

TEST(ClickTransientsTest, FourShortTransientsOfPeakAboutOne)
{
  const ClickTransients& t = ClickTransients::instance();
  const int lengths[] = {1460, 1953, 4174, 5030};
  for (int w = 0; w < 4; ++w)
  {
    ASSERT_EQ(ClickTransients::length(w), lengths[w]);
    const std::vector<double> x(t.data(w), t.data(w) + lengths[w]);
    EXPECT_NEAR(peak(x), 0.99, 1e-12) << w;
    EXPECT_EQ(x.back(), 0.0) << w;                     // no step at the end
    EXPECT_GT(peak(x, 0, lengths[w] / 10), 0.5) << w;  // percussive: loud at once
    EXPECT_LT(peak(x, lengths[w] * 8 / 10), 0.2) << w; // and decayed by the end
    for (double v : x)
      ASSERT_TRUE(std::isfinite(v));
  }
  // Computed, not random: a second set is identical.
  const ClickTransients again;
  for (int i = 0; i < 5030; ++i)
    ASSERT_EQ(again.d[i], t.d[i]);
  // The snap is the brightest, the thump the darkest.
  const double snap = crossingsPerMs(t.b.data(), 400), beater = crossingsPerMs(t.a.data(), 400);
  const double knock = crossingsPerMs(t.d.data(), 2000), thump = crossingsPerMs(t.c.data(), 2000);
  EXPECT_GT(snap, beater);
  EXPECT_GT(beater, knock);
  EXPECT_GT(knock, thump);
}

TEST(ClickTransientsTest, ClickWeights)
{
  const ClickTransients& t = ClickTransients::instance();
  // 0.5: clickA and clickB in equal parts, inverted, without the synthetic click.
  const auto half = clickLayer(0.5);
  for (int n = 0; n < 6000; ++n)
  {
    const double a = n < 1460 ? t.a[n] : 0.0;
    const double b = n < 1953 ? t.b[n] : 0.0;
    ASSERT_NEAR(half[n], -0.5 * (0.5 * a + 0.5 * b), 1e-15) << n;
  }
  // 0.1: only the synthetic chirp at weight 0.5, starting after 1 ms, peak 0.05, its
  // rate falling from about 1 radian per sample.
  const auto low = clickLayer(0.1);
  EXPECT_EQ(peak(low, 0, 45), 0.0);
  EXPECT_NEAR(peak(low, 45), 0.05, 0.003);
  EXPECT_GT(crossingsPerMs(low.data() + 45, 200), 2.0 * crossingsPerMs(low.data() + 1000, 1000));
  // 1.0: clickD, inverted, plus the full chirp (which starts only after 1 ms).
  const auto full = clickLayer(1.0);
  for (int n = 0; n <= 44; ++n)
    ASSERT_NEAR(full[n], -t.d[n], 1e-12) << n;
  double chirp = 0.0;
  for (int n = 45; n < 6000; ++n)
    chirp = std::max(chirp, std::abs(full[n] + (n < 5030 ? t.d[n] : 0.0)));
  EXPECT_NEAR(chirp, 1.0, 0.05);
  // 0: no click at all.
  EXPECT_EQ(peak(clickLayer(0.0)), 0.0);
}

TEST(ClickTransientsTest, TransientsKeepTheirDurationAtOtherRates)
{
  // At 88.2 kHz every stored sample is read twice.
  const auto fast = clickLayer(0.5, 88200.0, 8000);
  const auto normal = clickLayer(0.5);
  for (int n = 0; n < 3900; ++n)
    ASSERT_EQ(fast[2 * n], normal[n]) << n;
}
