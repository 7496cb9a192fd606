// Class factory of the module.
#include "vst3/PluginFactory.h"

#include "vst3/TextConvert.h"

#include "vst3/InterfaceGuard.h"

#include <cstring>
#include <new>

using namespace Steinberg;

namespace tarvo::vst3 {

//------------------------------------------------------------------------
PluginFactory::PluginFactory(const PFactoryInfo& info)
    : mInfo(info)
{
}

//------------------------------------------------------------------------
PluginFactory::~PluginFactory()
{
    if (onDestroy != nullptr)
        onDestroy(this);
}

//------------------------------------------------------------------------
bool PluginFactory::AddClass(const PClassInfo2& info, CreateFunction create, void* context)
{
    if (create == nullptr)
        return false;
    try {
        mClasses.push_back(Entry{info, create, context});
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

//------------------------------------------------------------------------
tresult PLUGIN_API PluginFactory::queryInterface(const TUID iid, void** obj)
{
    if (obj == nullptr)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, IPluginFactory::iid) || FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
        *obj = static_cast<IPluginFactory*>(this);
    } else if (FUnknownPrivate::iidEqual(iid, IPluginFactory2::iid)) {
        *obj = static_cast<IPluginFactory2*>(this);
    } else if (FUnknownPrivate::iidEqual(iid, IPluginFactory3::iid)) {
        *obj = static_cast<IPluginFactory3*>(this);
    } else {
        *obj = nullptr;
        return kNoInterface;
    }
    addRef();
    return kResultOk;
}

//------------------------------------------------------------------------
uint32 PLUGIN_API PluginFactory::addRef()
{
    return ++mRefCount;
}

//------------------------------------------------------------------------
uint32 PLUGIN_API PluginFactory::release()
{
    uint32 left = --mRefCount;
    if (left == 0)
        delete this;
    return left;
}

//------------------------------------------------------------------------
tresult PLUGIN_API PluginFactory::getFactoryInfo(PFactoryInfo* info)
{
    if (info == nullptr)
        return kInvalidArgument;
    *info = mInfo;
    return kResultOk;
}

//------------------------------------------------------------------------
int32 PLUGIN_API PluginFactory::countClasses()
{
    return static_cast<int32>(mClasses.size());
}

//------------------------------------------------------------------------
tresult PLUGIN_API PluginFactory::getClassInfo(int32 index, PClassInfo* info)
{
    if (info == nullptr || index < 0 || index >= countClasses())
        return kInvalidArgument;
    const PClassInfo2& src = mClasses[static_cast<std::size_t>(index)].info;
    *info = PClassInfo();
    std::memcpy(info->cid, src.cid, sizeof(TUID));
    info->cardinality = src.cardinality;
    std::memcpy(info->category, src.category, sizeof(info->category));
    std::memcpy(info->name, src.name, sizeof(info->name));
    return kResultOk;
}

//------------------------------------------------------------------------
tresult PLUGIN_API PluginFactory::getClassInfo2(int32 index, PClassInfo2* info)
{
    if (info == nullptr || index < 0 || index >= countClasses())
        return kInvalidArgument;
    *info = mClasses[static_cast<std::size_t>(index)].info;
    return kResultOk;
}

//------------------------------------------------------------------------
tresult PLUGIN_API PluginFactory::getClassInfoUnicode(int32 index, PClassInfoW* info)
{
    if (info == nullptr || index < 0 || index >= countClasses())
        return kInvalidArgument;
    const PClassInfo2& src = mClasses[static_cast<std::size_t>(index)].info;
    *info = PClassInfoW();
    std::memcpy(info->cid, src.cid, sizeof(TUID));
    info->cardinality = src.cardinality;
    std::memcpy(info->category, src.category, sizeof(info->category));
    Utf8ToUtf16(src.name, info->name, PClassInfo::kNameSize);
    info->classFlags = src.classFlags;
    std::memcpy(info->subCategories, src.subCategories, sizeof(info->subCategories));
    Utf8ToUtf16(src.vendor, info->vendor, PClassInfoW::kVendorSize);
    Utf8ToUtf16(src.version, info->version, PClassInfoW::kVersionSize);
    Utf8ToUtf16(src.sdkVersion, info->sdkVersion, PClassInfoW::kVersionSize);
    return kResultOk;
}

//------------------------------------------------------------------------
tresult PLUGIN_API PluginFactory::createInstance(FIDString cid, FIDString iid, void** obj)
{
    if (obj == nullptr)
        return kInvalidArgument;
    *obj = nullptr;
    if (cid == nullptr || iid == nullptr)
        return kInvalidArgument;
    for (const Entry& entry : mClasses) {
        if (std::memcmp(entry.info.cid, cid, sizeof(TUID)) != 0)
            continue;
        FUnknown* instance = Guarded(static_cast<FUnknown*>(nullptr), [&] { return entry.create(entry.context); });
        if (instance == nullptr)
            return kOutOfMemory;
        tresult result = instance->queryInterface(iid, obj);
        instance->release();
        if (result != kResultOk)
            *obj = nullptr;
        return result == kResultOk ? kResultOk : kNoInterface;
    }
    return kNoInterface;
}

//------------------------------------------------------------------------
tresult PLUGIN_API PluginFactory::setHostContext(FUnknown* /*context*/)
{
    return kNotImplemented;
}

} // namespace tarvo::vst3
