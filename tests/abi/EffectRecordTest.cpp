#include "ModuleFixture.h"
#include "host/platform/ModuleLoader.h"

#include <cstring>

TEST_F(ModuleTest, EffectRecordCarriesTheInstrumentsIdentityAndLayout)
{
  EXPECT_EQ(effect->magic, 0x56737450);
  EXPECT_EQ(effect->numPrograms, 128);
  EXPECT_EQ(effect->numParams, 160);
  EXPECT_EQ(effect->numInputs, 0);
  EXPECT_EQ(effect->numOutputs, 2);
  // can-replacing, program chunks, can-double-replacing and is-synth; no editor yet.
  EXPECT_EQ(effect->flags, 0x1131); // with the editor
  EXPECT_EQ(effect->reserved1, 0);
  EXPECT_EQ(effect->reserved2, 0);
  EXPECT_EQ(effect->initialDelay, 0);
  EXPECT_EQ(effect->realQualities, 0);
  EXPECT_EQ(effect->offQualities, 0);
  EXPECT_EQ(effect->ioRatio, 1.0f);
  EXPECT_NE(effect->object, nullptr);
  EXPECT_EQ(effect->uniqueID, 0x717A7674);
  EXPECT_EQ(effect->version, 10800);
  EXPECT_NE(effect->dispatcher, nullptr);
  EXPECT_NE(effect->process, nullptr);
  EXPECT_NE(effect->processReplacing, nullptr);
  EXPECT_NE(effect->processDoubleReplacing, nullptr);
  EXPECT_NE(effect->setParameter, nullptr);
  EXPECT_NE(effect->getParameter, nullptr);
  const char zeros[56] = {};
  EXPECT_EQ(std::memcmp(effect->future, zeros, sizeof zeros), 0);
}

namespace
{
intptr_t VSTCALLBACK SilentHost(Vst::AEffect*, int32_t, int32_t, intptr_t, void*, float)
{
  return 0;
}
} // namespace

TEST(ModuleEntry, BothEntryPointsCreateIndependentInstances)
{
  VstHost::ModuleLoader module;
  ASSERT_TRUE(module.Open(TG_MODULE_PATH)) << module.Error();
  using Entry = Vst::AEffect*(VSTCALLBACK*)(Vst::HostCallback);
  auto pluginMain = reinterpret_cast<Entry>(module.Symbol("VSTPluginMain"));
  ASSERT_NE(pluginMain, nullptr);
  using LegacyEntry = Vst::AEffect*(VSTCALLBACK*)(intptr_t);
  auto legacyMain = reinterpret_cast<LegacyEntry>(module.Symbol("main"));
  ASSERT_NE(legacyMain, nullptr);

  Vst::AEffect* a = pluginMain(SilentHost);
  Vst::AEffect* b = legacyMain(reinterpret_cast<intptr_t>(&SilentHost));
  // A host that passes no callback at all still gets a working instance.
  Vst::AEffect* c = pluginMain(nullptr);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  ASSERT_NE(c, nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(b->uniqueID, a->uniqueID);
  EXPECT_EQ(b->numParams, 160);
  c->dispatcher(c, Vst::effOpen, 0, 0, nullptr, 0.0f);
  char name[64] = {};
  c->dispatcher(c, Vst::effGetEffectName, 0, 0, name, 0.0f);
  EXPECT_STREQ(name, "Thumpgeist 1.8 FREE");
  for (Vst::AEffect* e : {a, b, c})
    e->dispatcher(e, Vst::effClose, 0, 0, nullptr, 0.0f);
}
