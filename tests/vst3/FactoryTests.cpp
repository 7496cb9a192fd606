// Module entry and factory of the test bundle, as a host reads them.
#include "HarnessFixture.h"

#include <cstring>
#include <fstream>
#include <sstream>

using namespace Steinberg;

namespace {

const char* const kBundle = TARVO_TEST_GAIN_BUNDLE;

std::string Hex(const char* bytes, int n)
{
    static const char* digits = "0123456789ABCDEF";
    std::string s;
    for (int i = 0; i < n; ++i) {
        auto b = static_cast<unsigned char>(bytes[i]);
        s += digits[b >> 4];
        s += digits[b & 15];
    }
    return s;
}

TEST(Vst3Factory, DescribesModuleAndClass)
{
    IPluginFactory* factory = harness::LoadedModule(kBundle).Factory();
    ASSERT_NE(factory, nullptr);
    PFactoryInfo info;
    ASSERT_EQ(factory->getFactoryInfo(&info), kResultOk);
    EXPECT_STREQ(info.vendor, "quenby audio");
    EXPECT_STREQ(info.url, "https://example.org/tarvo");
    EXPECT_STREQ(info.email, "support@example.org");
    EXPECT_EQ(info.flags, 16);
    ASSERT_EQ(factory->countClasses(), 1);

    IPluginFactory2* factory2 = nullptr;
    ASSERT_EQ(factory->queryInterface(IPluginFactory2::iid, reinterpret_cast<void**>(&factory2)), kResultOk);
    PClassInfo2 ci;
    ASSERT_EQ(factory2->getClassInfo2(0, &ci), kResultOk);
    EXPECT_EQ(factory2->getClassInfo2(1, &ci), kInvalidArgument);
    factory2->getClassInfo2(0, &ci);
    factory2->release();
    // The COM-compatible byte layout of the four words, on every platform.
    EXPECT_EQ(Hex(ci.cid, 16), "4D3C2B1ADE004E4F51656E627447616E");
    EXPECT_EQ(ci.cardinality, 0x7FFFFFFF);
    EXPECT_STREQ(ci.category, "Audio Module Class");
    EXPECT_STREQ(ci.name, "TarvoTestGain");
    EXPECT_EQ(ci.classFlags, 2u);
    EXPECT_STREQ(ci.subCategories, "Fx|Dynamics");
    EXPECT_STREQ(ci.vendor, "");
    EXPECT_STREQ(ci.version, "1.0.2");
    EXPECT_STREQ(ci.sdkVersion, "VST 3.5.2");

    IPluginFactory3* factory3 = nullptr;
    ASSERT_EQ(factory->queryInterface(IPluginFactory3::iid, reinterpret_cast<void**>(&factory3)), kResultOk);
    PClassInfoW wide;
    ASSERT_EQ(factory3->getClassInfoUnicode(0, &wide), kResultOk);
    EXPECT_EQ(harness::ToUtf8(wide.name), "TarvoTestGain");
    EXPECT_EQ(harness::ToUtf8(wide.sdkVersion), "VST 3.5.2");
    EXPECT_EQ(std::memcmp(wide.cid, ci.cid, 16), 0);
    factory3->release();
}

TEST(Vst3Factory, IsOneSharedObjectPerModule)
{
    auto& module = harness::LoadedModule(kBundle);
    using FactoryFn = IPluginFactory* (*)();
    auto get = reinterpret_cast<FactoryFn>(module.Symbol("GetPluginFactory"));
    ASSERT_NE(get, nullptr);
    IPluginFactory* again = get();
    EXPECT_EQ(again, module.Factory());
    // The second call added exactly one reference (the loader holds one).
    EXPECT_EQ(again->addRef(), 3u);
    again->release();
    again->release();
#ifdef _WIN32
    EXPECT_NE(module.Symbol("InitDll"), nullptr);
    EXPECT_NE(module.Symbol("ExitDll"), nullptr);
#else
    EXPECT_NE(module.Symbol("ModuleEntry"), nullptr);
    EXPECT_NE(module.Symbol("ModuleExit"), nullptr);
    EXPECT_EQ(module.Symbol("_ZN7IFxVST37processERN9Steinberg3Vst11ProcessDataE"), nullptr);
#endif
}

TEST(Vst3Factory, RefusesUnknownClassesAndInterfaces)
{
    IPluginFactory* factory = harness::LoadedModule(kBundle).Factory();
    PClassInfo ci;
    ASSERT_EQ(factory->getClassInfo(0, &ci), kResultOk);
    void* obj = reinterpret_cast<void*>(1);
    TUID other = {};
    EXPECT_NE(factory->createInstance(other, Vst::IComponent::iid, &obj), kResultOk);
    EXPECT_EQ(obj, nullptr);
    obj = reinterpret_cast<void*>(1);
    EXPECT_NE(factory->createInstance(ci.cid, IPluginFactory::iid, &obj), kResultOk);
    EXPECT_EQ(obj, nullptr);
    // Processor and controller requests make the same kind of object.
    ASSERT_EQ(factory->createInstance(ci.cid, Vst::IEditController::iid, &obj), kResultOk);
    auto* controller = static_cast<Vst::IEditController*>(obj);
    Vst::IAudioProcessor* processor = nullptr;
    EXPECT_EQ(controller->queryInterface(Vst::IAudioProcessor::iid, reinterpret_cast<void**>(&processor)), kResultOk);
    processor->release();
    controller->release();
}

TEST(Vst3Factory, ModuleInfoMatchesTheFactory)
{
    auto& module = harness::LoadedModule(kBundle);
    std::ifstream in(harness::NextToProgram(kBundle) + "/Contents/Resources/moduleinfo.json");
    ASSERT_TRUE(in.good());
    std::stringstream text;
    text << in.rdbuf();
    std::string json = text.str();
    PClassInfo ci;
    ASSERT_EQ(module.Factory()->getClassInfo(0, &ci), kResultOk);
    EXPECT_NE(json.find("\"CID\": \"" + Hex(ci.cid, 16) + "\""), std::string::npos);
    EXPECT_NE(json.find("\"Vendor\": \"quenby audio\""), std::string::npos);
    EXPECT_NE(json.find("\"Sub Categories\": [\n        \"Fx\", \"Dynamics\""), std::string::npos);
    EXPECT_NE(json.find("\"SDKVersion\": \"VST 3.5.2\""), std::string::npos);
    EXPECT_NE(json.find("\"Class Flags\": 2"), std::string::npos);
}

} // namespace
