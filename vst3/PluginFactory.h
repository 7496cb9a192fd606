#pragma once
// The module's class factory: answers IPluginFactory, IPluginFactory2 and
// IPluginFactory3 for the classes registered with it. Reference counted;
// the last release destroys it and forgets the module's singleton.
#include "pluginterfaces/base/ipluginbase.h"

#include <atomic>
#include <vector>

namespace tarvo::vst3 {

class PluginFactory : public Steinberg::IPluginFactory3 {
public:
    using tresult = Steinberg::tresult;
    using int32 = Steinberg::int32;
    // Makes one instance and returns it with one reference, or null.
    using CreateFunction = Steinberg::FUnknown* (*)(void* context);

    explicit PluginFactory(const Steinberg::PFactoryInfo& info);
    virtual ~PluginFactory();

    PluginFactory(const PluginFactory&) = delete;
    PluginFactory& operator=(const PluginFactory&) = delete;

    // False when the class cannot be registered (no memory).
    bool AddClass(const Steinberg::PClassInfo2& info, CreateFunction create, void* context);

    // FUnknown
    tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API addRef() SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API release() SMTG_OVERRIDE;

    // IPluginFactory
    tresult PLUGIN_API getFactoryInfo(Steinberg::PFactoryInfo* info) SMTG_OVERRIDE;
    int32 PLUGIN_API countClasses() SMTG_OVERRIDE;
    tresult PLUGIN_API getClassInfo(int32 index, Steinberg::PClassInfo* info) SMTG_OVERRIDE;
    // Makes an instance of a registered class and hands out the requested
    // interface; fails cleanly on an unknown class, an unknown interface or
    // a failed construction.
    tresult PLUGIN_API createInstance(Steinberg::FIDString cid, Steinberg::FIDString iid,
                                      void** obj) SMTG_OVERRIDE;
    // IPluginFactory2
    tresult PLUGIN_API getClassInfo2(int32 index, Steinberg::PClassInfo2* info) SMTG_OVERRIDE;
    // IPluginFactory3
    tresult PLUGIN_API getClassInfoUnicode(int32 index, Steinberg::PClassInfoW* info) SMTG_OVERRIDE;
    tresult PLUGIN_API setHostContext(Steinberg::FUnknown* context) SMTG_OVERRIDE;

    // Called with the factory being destroyed, so the module can forget it.
    void (*onDestroy)(PluginFactory*) = nullptr;

private:
    struct Entry {
        Steinberg::PClassInfo2 info;
        CreateFunction create;
        void* context;
    };

    std::atomic<Steinberg::uint32> mRefCount{1};
    Steinberg::PFactoryInfo mInfo;
    std::vector<Entry> mClasses;
};

} // namespace tarvo::vst3
