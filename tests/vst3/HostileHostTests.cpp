// A careless or hostile host: every interface method called with indices and
// IDs out of range, null pointers, NaN and infinite values and malformed
// UTF-16 text. Each call must come back with a result code; none may throw
// into the host or report an internal failure. Runs on the test plug-in and
// on the product bundle.
#include "HarnessFixture.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr ParamID kBypass = 0x62706173;
constexpr ParamID kPreset = 0x70727374;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

bool Clean(tresult r)
{
    return r == kResultOk || r == kResultFalse || r == kInvalidArgument || r == kNotImplemented ||
           r == kNoInterface || r == kNotInitialized;
}

// The call neither throws nor fails inside.
#define EXPECT_CLEAN(call)                                                                   \
    do {                                                                                     \
        tresult result_ = kInternalError;                                                    \
        EXPECT_NO_THROW(result_ = (call)) << #call;                                          \
        EXPECT_TRUE(Clean(result_)) << #call << " returned " << result_;                     \
    } while (0)

// Exactly 128 UTF-16 units at the very end of a readable page, followed by
// a page that cannot be read: reading one unit past the host's string
// crashes the test instead of passing unnoticed.
class FencedText {
public:
    FencedText()
    {
#ifdef _WIN32
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        mPage = info.dwPageSize;
        mBase = static_cast<char*>(VirtualAlloc(nullptr, 2 * mPage, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(mBase + mPage, mPage, PAGE_NOACCESS, &old);
#else
        mPage = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        void* p = mmap(nullptr, 2 * mPage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        mBase = p == MAP_FAILED ? nullptr : static_cast<char*>(p);
        if (mBase != nullptr)
            mprotect(mBase + mPage, mPage, PROT_NONE);
#endif
    }
    ~FencedText()
    {
#ifdef _WIN32
        VirtualFree(mBase, 0, MEM_RELEASE);
#else
        if (mBase != nullptr)
            munmap(mBase, 2 * mPage);
#endif
    }
    FencedText(const FencedText&) = delete;
    FencedText& operator=(const FencedText&) = delete;

    // The 128 units, filled with fill and then the given tail (no terminator
    // unless the tail holds one).
    char16* Fill(char16 fill, std::initializer_list<char16> tail)
    {
        char16* text = reinterpret_cast<char16*>(mBase + mPage) - 128;
        for (int i = 0; i < 128; ++i)
            text[i] = fill;
        int at = 128 - static_cast<int>(tail.size());
        for (char16 unit : tail)
            text[at++] = unit;
        return text;
    }
    bool Ok() const { return mBase != nullptr; }

private:
    char* mBase = nullptr;
    std::size_t mPage = 0;
};

// A message whose text attribute is malformed UTF-16.
class TextMessage : public IMessage, public IAttributeList {
public:
    explicit TextMessage(std::initializer_list<char16> text) : mText(text) { mText.push_back(0); }
    FIDString PLUGIN_API getMessageID() SMTG_OVERRIDE { return "TextMessage"; }
    void PLUGIN_API setMessageID(FIDString) SMTG_OVERRIDE {}
    IAttributeList* PLUGIN_API getAttributes() SMTG_OVERRIDE { return this; }
    tresult PLUGIN_API setInt(AttrID, int64) SMTG_OVERRIDE { return kResultFalse; }
    tresult PLUGIN_API getInt(AttrID, int64&) SMTG_OVERRIDE { return kResultFalse; }
    tresult PLUGIN_API setFloat(AttrID, double) SMTG_OVERRIDE { return kResultFalse; }
    tresult PLUGIN_API getFloat(AttrID, double&) SMTG_OVERRIDE { return kResultFalse; }
    tresult PLUGIN_API setString(AttrID, const TChar*) SMTG_OVERRIDE { return kResultFalse; }
    tresult PLUGIN_API getString(AttrID, TChar* string, uint32 sizeInBytes) SMTG_OVERRIDE
    {
        std::size_t units = std::min<std::size_t>(mText.size(), sizeInBytes / sizeof(TChar));
        std::memcpy(string, mText.data(), units * sizeof(TChar));
        return kResultOk;
    }
    tresult PLUGIN_API setBinary(AttrID, const void*, uint32) SMTG_OVERRIDE { return kResultFalse; }
    tresult PLUGIN_API getBinary(AttrID, const void*&, uint32&) SMTG_OVERRIDE { return kResultFalse; }
    tresult PLUGIN_API queryInterface(const TUID, void** obj) SMTG_OVERRIDE
    {
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
    uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }

private:
    std::vector<char16> mText;
};

class HostileHost : public harness::PluginTest, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override
    {
        Open(GetParam());
        params = 0;
        ParameterInfo info{};
        for (int32 i = 0; i < plug->controller->getParameterCount(); ++i)
            if (plug->controller->getParameterInfo(i, info) == kResultTrue && info.id < 0x10000)
                ++params;
    }

    // Every parameter ID worth trying: the plug-in's own, the special ones
    // and IDs nobody owns.
    std::vector<ParamID> Ids() const
    {
        std::vector<ParamID> ids = {kBypass, kPreset, static_cast<ParamID>(params), 0x7FFFFFFF, 0xFFFFFFFF, 12345};
        for (int i = 0; i < params; ++i)
            ids.push_back(static_cast<ParamID>(i));
        return ids;
    }

    // Converts text for id; a value that comes back must be a normalised one.
    void ExpectNormalizedOrRefused(ParamID id, TChar* text, const char* what)
    {
        ParamValue value = -7.0;
        tresult r = kInternalError;
        EXPECT_NO_THROW(r = plug->controller->getParamValueByString(id, text, value)) << what << " id " << id;
        EXPECT_TRUE(r == kResultOk || r == kResultFalse) << what << " id " << id << " returned " << r;
        if (r == kResultOk) {
            EXPECT_TRUE(value >= 0.0 && value <= 1.0) << what << " id " << id << " gave " << value;
        }
    }

    int params = 0;
};

TEST_P(HostileHost, IndexedQueriesRefuseIndicesOutOfRange)
{
    auto* c = plug->controller;
    int32 count = c->getParameterCount();
    for (int32 index : {count, count + 1, -1, INT_MAX, INT_MIN}) {
        ParameterInfo info{};
        tresult r = kInternalError;
        EXPECT_NO_THROW(r = c->getParameterInfo(index, info)) << index;
        EXPECT_EQ(r, kResultFalse) << index;
    }

    IUnitInfo* units = nullptr;
    ASSERT_EQ(plug->component->queryInterface(IUnitInfo::iid, reinterpret_cast<void**>(&units)), kResultOk);
    for (int32 index : {-1, units->getUnitCount(), INT_MAX, INT_MIN}) {
        UnitInfo unit{};
        EXPECT_EQ(units->getUnitInfo(index, unit), kResultFalse) << index;
        ProgramListInfo list{};
        EXPECT_EQ(units->getProgramListInfo(index == units->getUnitCount() ? 1 : index, list), kResultFalse);
        String128 name{};
        EXPECT_CLEAN(units->getProgramName(static_cast<ProgramListID>(kPreset), index, name));
        EXPECT_CLEAN(units->getProgramName(index, 0, name));
        EXPECT_CLEAN(units->getProgramName(static_cast<ProgramListID>(kPreset), 0, nullptr));
        EXPECT_CLEAN(units->getProgramInfo(index, index, "name", name));
        EXPECT_CLEAN(units->hasProgramPitchNames(index, index));
        EXPECT_CLEAN(units->getProgramPitchName(index, index, 60, name));
        EXPECT_CLEAN(units->selectUnit(index));
        UnitID unitId = 0;
        EXPECT_CLEAN(units->getUnitByBus(kAudio, kInput, index, index, unitId));
        EXPECT_CLEAN(units->setUnitProgramData(index, index, nullptr));
    }
    units->release();

    for (MediaType type : {MediaType(kAudio), MediaType(kEvent), MediaType(7)}) {
        for (BusDirection dir : {BusDirection(kInput), BusDirection(kOutput), BusDirection(5)}) {
            int32 buses = plug->component->getBusCount(type, dir);
            for (int32 index : {buses, -1, INT_MAX, INT_MIN}) {
                BusInfo bus{};
                EXPECT_EQ(plug->component->getBusInfo(type, dir, index, bus), kInvalidArgument);
                EXPECT_EQ(plug->component->activateBus(type, dir, index, true), kInvalidArgument);
                SpeakerArrangement arr = 0;
                if (type == kAudio) {
                    EXPECT_EQ(plug->processor->getBusArrangement(dir, index, arr), kInvalidArgument);
                }
            }
        }
    }
    RoutingInfo in{}, out{};
    in.busIndex = INT_MAX;
    EXPECT_CLEAN(plug->component->getRoutingInfo(in, out));
}

TEST_P(HostileHost, ParameterCallsTakeAnyIdAndValue)
{
    auto* c = plug->controller;
    for (ParamID id : Ids()) {
        for (double v : {kNaN, kInf, -kInf, -1.0, 2.0, 1e308, 0.5}) {
            String128 text{};
            EXPECT_CLEAN(c->getParamStringByValue(id, v, text));
            EXPECT_CLEAN(c->getParamStringByValue(id, v, nullptr));
            EXPECT_NO_THROW(c->normalizedParamToPlain(id, v)) << id << " " << v;
            EXPECT_NO_THROW(c->plainParamToNormalized(id, v)) << id << " " << v;
            EXPECT_CLEAN(c->setParamNormalized(id, v));
        }
        ParamValue value = 0.0;
        EXPECT_NO_THROW(value = c->getParamNormalized(id)) << id;
        EXPECT_TRUE(value >= 0.0 && value <= 1.0) << id << " reads " << value;
        ParamValue parsed = 0.0;
        EXPECT_CLEAN(c->getParamValueByString(id, nullptr, parsed));
    }
}

TEST_P(HostileHost, MalformedTextIsRefusedNeverThrownOrOverread)
{
    FencedText fence;
    ASSERT_TRUE(fence.Ok());
    for (ParamID id : Ids()) {
        String128 lowSurrogate = {0xDC00, 0};
        String128 highSurrogate = {0xD800, 0};
        String128 reversedPair = {'1', 0xDC00, 0xD800, 0};
        String128 highThenDigit = {0xD800, '5', 0};
        ExpectNormalizedOrRefused(id, lowSurrogate, "lone low surrogate");
        ExpectNormalizedOrRefused(id, highSurrogate, "lone high surrogate");
        ExpectNormalizedOrRefused(id, reversedPair, "reversed pair");
        ExpectNormalizedOrRefused(id, highThenDigit, "high surrogate then digit");
        // 128 units and no terminator, the last one a surrogate that asks
        // to look at the next.
        ExpectNormalizedOrRefused(id, fence.Fill('1', {0xD800}), "127 digits then a high surrogate");
        ExpectNormalizedOrRefused(id, fence.Fill('0', {'.', '5'}), "128 units, no terminator");
        ExpectNormalizedOrRefused(id, fence.Fill('o', {'n'}), "128 units of text");
    }
    // The host name is read the same way.
    EXPECT_CLEAN(plug->component->terminate());
    EXPECT_CLEAN(plug->component->initialize(&plug->app));

    // A text message through the connection point, malformed.
    IConnectionPoint* point = nullptr;
    ASSERT_EQ(plug->component->queryInterface(IConnectionPoint::iid, reinterpret_cast<void**>(&point)), kResultOk);
    TextMessage message({'a', 0xDC00, 'b'});
    EXPECT_CLEAN(point->notify(&message));
    EXPECT_CLEAN(point->notify(nullptr));
    EXPECT_CLEAN(point->connect(nullptr));
    EXPECT_CLEAN(point->disconnect(nullptr));
    point->release();
}

TEST_P(HostileHost, PresetTextGivesANormalisedValueOrFails)
{
    auto* c = plug->controller;
    auto text = [](const char* s) {
        std::vector<TChar> t;
        for (; *s; ++s)
            t.push_back(static_cast<TChar>(*s));
        t.push_back(0);
        return t;
    };
    for (const char* bad : {"inf", "nan", "1e308", "-5", "12.5", "-0.01", "", "preset"}) {
        auto t = text(bad);
        ParamValue value = 0.25;
        EXPECT_EQ(c->getParamValueByString(kPreset, t.data(), value), kResultFalse) << bad;
        EXPECT_EQ(value, 0.25) << bad;
    }
    auto half = text("0.5");
    ParamValue value = 0.0;
    EXPECT_EQ(c->getParamValueByString(kPreset, half.data(), value), kResultOk);
    EXPECT_EQ(value, 0.5);
    auto on = text("on");
    EXPECT_EQ(c->getParamValueByString(kBypass, on.data(), value), kResultOk);
    EXPECT_EQ(value, 1.0);
    auto off = text("off");
    EXPECT_EQ(c->getParamValueByString(kBypass, off.data(), value), kResultOk);
    EXPECT_EQ(value, 0.0);
}

TEST_P(HostileHost, NullAndBogusArgumentsElsewhere)
{
    auto* c = plug->controller;
    EXPECT_CLEAN(c->setState(nullptr));
    EXPECT_CLEAN(c->getState(nullptr));
    EXPECT_CLEAN(c->setComponentState(nullptr));
    EXPECT_CLEAN(plug->component->setState(nullptr));
    EXPECT_CLEAN(plug->component->getState(nullptr));
    EXPECT_CLEAN(plug->component->setIoMode(99));
    EXPECT_CLEAN(plug->component->setActive(true));
    EXPECT_CLEAN(plug->component->setActive(false));
    TUID cid{};
    EXPECT_CLEAN(plug->component->getControllerClassId(cid));
    EXPECT_EQ(c->createView(nullptr), nullptr);
    EXPECT_EQ(c->createView(""), nullptr);

    IEditController2* c2 = nullptr;
    ASSERT_EQ(c->queryInterface(IEditController2::iid, reinterpret_cast<void**>(&c2)), kResultOk);
    EXPECT_CLEAN(c2->setKnobMode(99));
    EXPECT_CLEAN(c2->openHelp(true));
    EXPECT_CLEAN(c2->openAboutBox(true));
    c2->release();

    auto* p = plug->processor;
    EXPECT_CLEAN(p->setBusArrangements(nullptr, 1, nullptr, 1));
    EXPECT_CLEAN(p->setBusArrangements(nullptr, -1, nullptr, -1));
    SpeakerArrangement wide[3] = {~0ull, ~0ull, ~0ull};
    EXPECT_CLEAN(p->setBusArrangements(wide, 3, wide, 3));
    EXPECT_CLEAN(p->setBusArrangements(wide, 0, wide, 0));
    EXPECT_CLEAN(p->canProcessSampleSize(-1));
    ProcessSetup setup{kRealtime, kSample32, INT_MAX, kNaN};
    EXPECT_CLEAN(p->setupProcessing(setup));
    EXPECT_CLEAN(p->setProcessing(true));
    ProcessData nothing;
    nothing.numSamples = 64;
    nothing.numInputs = 2;
    nothing.numOutputs = 1;
    EXPECT_CLEAN(p->process(nothing));
    EXPECT_NO_THROW(p->getLatencySamples());
    EXPECT_NO_THROW(p->getTailSamples());

    // The view, before and after its plug-in is gone from the host's hands.
    IPlugView* view = c->createView("editor");
    ASSERT_NE(view, nullptr);
    EXPECT_CLEAN(view->isPlatformTypeSupported(nullptr));
    EXPECT_CLEAN(view->attached(nullptr, nullptr));
    EXPECT_CLEAN(view->getSize(nullptr));
    EXPECT_CLEAN(view->onSize(nullptr));
    EXPECT_CLEAN(view->checkSizeConstraint(nullptr));
    EXPECT_CLEAN(view->setFrame(nullptr));
    EXPECT_CLEAN(view->onKeyDown(0, 0, 0));
    EXPECT_CLEAN(view->onWheel(kInf));
    EXPECT_CLEAN(view->removed());
    view->release();

    // Initialised twice without a context: still one set of parameters.
    int32 params = c->getParameterCount();
    EXPECT_CLEAN(plug->component->terminate());
    EXPECT_CLEAN(plug->component->initialize(nullptr));
    EXPECT_EQ(plug->component->initialize(&plug->app), kResultFalse);
    EXPECT_EQ(c->getParameterCount(), params);
}

TEST_P(HostileHost, AbsurdRatesAreRefusedAndHugeBlockSizesServedInSlices)
{
    // Rates no audio interface runs at are refused: the engine's sample
    // counts derive from the rate and must fit their integers.
    for (double rate : {1.0e300, 2.0e9, 1.0e6 + 1.0}) {
        ProcessSetup setup{kRealtime, kSample32, 512, rate};
        EXPECT_EQ(plug->processor->setupProcessing(setup), kResultFalse) << rate;
    }
    // A host may announce any maximum block: the plug-in does not try to
    // allocate for it, and still processes a block longer than its slices.
    std::string error;
    ASSERT_TRUE(plug->Prepare(768000.0, 0x7FFFFFFF, false, false, true, &error)) << error;
    const int frames = 40000;
    harness::Block<float> in(2, frames, 0.25f), out(2, frames, 7.0f);
    std::vector<float*> none;
    EXPECT_EQ(plug->Process<float>(in.Pointers(), none, out.Pointers(), frames, nullptr), kResultOk);
    for (auto& channel : out.channels)
        for (float v : channel)
            ASSERT_TRUE(std::isfinite(v) && v != 7.0f);
}

TEST_P(HostileHost, FactoryAndEntryPointsRefuseBadArguments)
{
    IPluginFactory* factory = harness::LoadedModule(GetParam()).Factory();
    ASSERT_NE(factory, nullptr);
    EXPECT_CLEAN(factory->getFactoryInfo(nullptr));
    PClassInfo info;
    ASSERT_EQ(factory->getClassInfo(0, &info), kResultOk);
    EXPECT_CLEAN(factory->getClassInfo(-1, &info));
    EXPECT_CLEAN(factory->getClassInfo(INT_MAX, &info));
    EXPECT_CLEAN(factory->getClassInfo(0, nullptr));
    void* obj = reinterpret_cast<void*>(1);
    EXPECT_CLEAN(factory->createInstance(nullptr, IComponent::iid, &obj));
    EXPECT_CLEAN(factory->createInstance(info.cid, nullptr, &obj));
    EXPECT_CLEAN(factory->createInstance(info.cid, IComponent::iid, nullptr));
    IPluginFactory3* factory3 = nullptr;
    ASSERT_EQ(factory->queryInterface(IPluginFactory3::iid, reinterpret_cast<void**>(&factory3)), kResultOk);
    PClassInfoW wide;
    EXPECT_CLEAN(factory3->getClassInfoUnicode(INT_MIN, &wide));
    EXPECT_CLEAN(factory3->getClassInfo2(INT_MAX, nullptr));
    EXPECT_CLEAN(factory3->setHostContext(nullptr));
    factory3->release();
}

std::vector<const char*> Bundles()
{
    std::vector<const char*> bundles = {TARVO_TEST_GAIN_BUNDLE};
#ifdef TARVO_PRODUCT_BUNDLE
    bundles.push_back(TARVO_PRODUCT_BUNDLE);
#endif
    return bundles;
}

INSTANTIATE_TEST_SUITE_P(Bundles, HostileHost, ::testing::ValuesIn(Bundles()),
                         [](const ::testing::TestParamInfo<const char*>& bundle) {
                             return bundle.index == 0 ? std::string("TestPlugin") : std::string("Tarvo");
                         });

} // namespace
