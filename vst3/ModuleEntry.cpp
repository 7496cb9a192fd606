// Module entry points and the factory of the module's one class.
//
// Windows exports InitDll, ExitDll and GetPluginFactory (plus DllMain);
// Linux exports ModuleEntry, ModuleExit and GetPluginFactory. Nothing else
// leaves the module.
#include "vst3/ModuleEntry.h"

#include "vst3/IFxVST3.h"
#include "vst3/InterfaceGuard.h"
#include "vst3/ModuleIdentity.h"
#include "vst3/PluginFactory.h"

#include <cstring>
#include <mutex>
#include <new>

#ifdef _WIN32
#include <windows.h>
#define TARVO_EXPORT extern "C" __declspec(dllexport)
#else
#define TARVO_EXPORT extern "C" __attribute__((visibility("default")))
#endif

using namespace Steinberg;

namespace {

void* gModuleHandle = nullptr;
void* gResourceHandle = nullptr;
tarvo::vst3::PluginFactory* gFactory = nullptr;

// Serialises instance construction. Never destroyed, so an instance made
// while the process exits cannot meet a dead lock; made in static storage
// rather than on the heap, so a module that is unloaded leaves nothing
// behind (a heap lock was lost at every unload).
std::recursive_mutex& CreationLock()
{
    alignas(std::recursive_mutex) static unsigned char storage[sizeof(std::recursive_mutex)];
    static auto* lock = new (storage) std::recursive_mutex;
    return *lock;
}

void CopyField(char* dst, std::size_t size, const char* src)
{
    std::memset(dst, 0, size);
    if (src != nullptr)
        std::strncpy(dst, src, size - 1);
}

FUnknown* CreateInstance(void* /*context*/)
{
    // Out of memory, or anything else the construction throws: the factory
    // reports the failure.
    return tarvo::vst3::Guarded(static_cast<FUnknown*>(nullptr), []() -> FUnknown* {
        std::lock_guard<std::recursive_mutex> lock(CreationLock());
        IFxVST3* plug = tarvo::vst3::NewPluginInstance();
        return plug ? static_cast<Vst::IAudioProcessor*>(plug) : nullptr;
    });
}

void ForgetFactory(tarvo::vst3::PluginFactory* factory)
{
    if (gFactory == factory)
        gFactory = nullptr;
}

} // namespace

namespace tarvo::vst3 {

//------------------------------------------------------------------------
void ClassIdBytes(const std::uint32_t words[4], char out[16])
{
    auto* b = reinterpret_cast<unsigned char*>(out);
    std::uint32_t l1 = words[0], l2 = words[1], l3 = words[2], l4 = words[3];
    b[0] = l1 & 0xFF;
    b[1] = (l1 >> 8) & 0xFF;
    b[2] = (l1 >> 16) & 0xFF;
    b[3] = (l1 >> 24) & 0xFF;
    b[4] = (l2 >> 16) & 0xFF;
    b[5] = (l2 >> 24) & 0xFF;
    b[6] = l2 & 0xFF;
    b[7] = (l2 >> 8) & 0xFF;
    for (int i = 0; i < 4; ++i) {
        b[8 + i] = (l3 >> (24 - 8 * i)) & 0xFF;
        b[12 + i] = (l4 >> (24 - 8 * i)) & 0xFF;
    }
}

//------------------------------------------------------------------------
void* ModuleHandle()
{
    return gResourceHandle != nullptr ? gResourceHandle : gModuleHandle;
}

} // namespace tarvo::vst3

//------------------------------------------------------------------------
namespace {

// The factory singleton, made and registered on the first call.
IPluginFactory* MakeFactory()
{
    if (gFactory != nullptr) {
        gFactory->addRef();
        return gFactory;
    }
    const tarvo::vst3::ModuleIdentity& id = tarvo::vst3::kModuleIdentity;

    static PFactoryInfo factoryInfo;
    static bool factoryInfoFilled = false;
    if (!factoryInfoFilled) {
        CopyField(factoryInfo.vendor, sizeof(factoryInfo.vendor), id.vendor);
        CopyField(factoryInfo.url, sizeof(factoryInfo.url), id.url);
        CopyField(factoryInfo.email, sizeof(factoryInfo.email), id.email);
        factoryInfo.flags = id.factoryFlags;
        factoryInfoFilled = true;
    }
    auto* factory = new (std::nothrow) tarvo::vst3::PluginFactory(factoryInfo);
    if (factory == nullptr)
        return nullptr;
    factory->onDestroy = &ForgetFactory;

    static PClassInfo2 classInfo;
    static bool classInfoFilled = false;
    if (!classInfoFilled) {
        classInfo = PClassInfo2();
        tarvo::vst3::ClassIdBytes(id.cidWords, classInfo.cid);
        classInfo.cardinality = id.cardinality;
        CopyField(classInfo.category, sizeof(classInfo.category), id.category);
        CopyField(classInfo.name, sizeof(classInfo.name), id.className);
        classInfo.classFlags = id.classFlags;
        CopyField(classInfo.subCategories, sizeof(classInfo.subCategories), id.subCategories);
        CopyField(classInfo.vendor, sizeof(classInfo.vendor), id.classVendor);
        CopyField(classInfo.version, sizeof(classInfo.version), id.version);
        CopyField(classInfo.sdkVersion, sizeof(classInfo.sdkVersion), id.sdkVersion);
        classInfoFilled = true;
    }
    if (!factory->AddClass(classInfo, &CreateInstance, nullptr)) {
        factory->release();
        return nullptr;
    }
    gFactory = factory;
    return factory;
}

} // namespace

//------------------------------------------------------------------------
TARVO_EXPORT IPluginFactory* PLUGIN_API GetPluginFactory()
{
    return tarvo::vst3::Guarded(static_cast<IPluginFactory*>(nullptr), [] { return MakeFactory(); });
}

#ifdef _WIN32
//------------------------------------------------------------------------
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/)
{
    if (reason == DLL_PROCESS_ATTACH)
        gModuleHandle = instance;
    return TRUE;
}

//------------------------------------------------------------------------
TARVO_EXPORT bool InitDll()
{
    gResourceHandle = gModuleHandle;
    return true;
}

//------------------------------------------------------------------------
TARVO_EXPORT bool ExitDll()
{
    return true;
}
#else
//------------------------------------------------------------------------
TARVO_EXPORT bool ModuleEntry(void* sharedLibraryHandle)
{
    gModuleHandle = sharedLibraryHandle;
    gResourceHandle = sharedLibraryHandle;
    return true;
}

//------------------------------------------------------------------------
TARVO_EXPORT bool ModuleExit()
{
    return true;
}
#endif
