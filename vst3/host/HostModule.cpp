// Module loading for the host side.
#include "vst3/host/HostModule.h"

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace tarvo::host {

namespace fs = std::filesystem;

//------------------------------------------------------------------------
HostModule::~HostModule()
{
    Unload();
}

//------------------------------------------------------------------------
std::string HostModule::ModuleFileInBundle(const std::string& bundle)
{
    fs::path dir(bundle);
    std::string name = dir.filename().string();
    if (name.empty())
        name = dir.parent_path().filename().string();
    std::string stem = fs::path(name).stem().string();
#ifdef _WIN32
    return (dir / "Contents" / "x86_64-win" / (stem + ".vst3")).string();
#else
    return (dir / "Contents" / "x86_64-linux" / (stem + ".so")).string();
#endif
}

//------------------------------------------------------------------------
void* HostModule::Symbol(const char* name) const
{
    if (mLibrary == nullptr)
        return nullptr;
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(mLibrary), name));
#else
    return dlsym(mLibrary, name);
#endif
}

//------------------------------------------------------------------------
bool HostModule::Load(const std::string& path)
{
    Unload();
    std::error_code ec;
    mModulePath = fs::is_directory(path, ec) ? ModuleFileInBundle(path) : path;
    if (!fs::is_regular_file(mModulePath, ec)) {
        mError = "no plug-in module at " + mModulePath;
        return false;
    }
#ifdef _WIN32
    mLibrary = LoadLibraryW(fs::path(mModulePath).wstring().c_str());
    if (mLibrary == nullptr) {
        mError = "cannot load " + mModulePath + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    using InitFn = bool (*)();
    auto init = reinterpret_cast<InitFn>(Symbol("InitDll"));
    if (init != nullptr && !init()) {
        mError = "InitDll failed";
        Unload();
        return false;
    }
#else
    mLibrary = dlopen(mModulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (mLibrary == nullptr) {
        const char* why = dlerror();
        mError = "cannot load " + mModulePath + ": " + (why ? why : "unknown error");
        return false;
    }
    using EntryFn = bool (*)(void*);
    auto entry = reinterpret_cast<EntryFn>(Symbol("ModuleEntry"));
    if (entry == nullptr || !entry(mLibrary)) {
        mError = entry ? "ModuleEntry failed" : "the module has no ModuleEntry";
        Unload();
        return false;
    }
#endif
    using FactoryFn = Steinberg::IPluginFactory* (*)();
    auto getFactory = reinterpret_cast<FactoryFn>(Symbol("GetPluginFactory"));
    mFactory = getFactory ? getFactory() : nullptr;
    if (mFactory == nullptr) {
        mError = getFactory ? "GetPluginFactory returned no factory" : "the module has no GetPluginFactory";
        Unload();
        return false;
    }
    return true;
}

//------------------------------------------------------------------------
void HostModule::Unload()
{
    if (mFactory != nullptr) {
        mFactory->release();
        mFactory = nullptr;
    }
    if (mLibrary == nullptr)
        return;
#ifdef _WIN32
    using ExitFn = bool (*)();
    if (auto exit = reinterpret_cast<ExitFn>(Symbol("ExitDll")))
        exit();
    FreeLibrary(static_cast<HMODULE>(mLibrary));
#else
    using ExitFn = bool (*)();
    if (auto exit = reinterpret_cast<ExitFn>(Symbol("ModuleExit")))
        exit();
    dlclose(mLibrary);
#endif
    mLibrary = nullptr;
}

} // namespace tarvo::host
