#pragma once
// Loads a VST 3 module the way a host does: dlopen / LoadLibrary, the
// platform entry call (ModuleEntry or InitDll), then GetPluginFactory.
// Unloading releases the factory, calls the exit entry and closes the
// library.
#include "pluginterfaces/base/ipluginbase.h"

#include <string>

namespace tarvo::host {

class HostModule {
public:
    HostModule() = default;
    ~HostModule();
    HostModule(const HostModule&) = delete;
    HostModule& operator=(const HostModule&) = delete;

    // path: a bundle folder (Name.vst3 with Contents/<arch>/...) or the
    // module file itself. On failure returns false and sets Error().
    bool Load(const std::string& path);
    void Unload();

    Steinberg::IPluginFactory* Factory() const { return mFactory; }
    const std::string& Error() const { return mError; }
    const std::string& ModulePath() const { return mModulePath; }
    // The module file inside a bundle folder for this platform.
    static std::string ModuleFileInBundle(const std::string& bundle);

    // Looks up an exported symbol (tests).
    void* Symbol(const char* name) const;

private:
    void* mLibrary = nullptr;
    Steinberg::IPluginFactory* mFactory = nullptr;
    std::string mError;
    std::string mModulePath;
};

} // namespace tarvo::host
