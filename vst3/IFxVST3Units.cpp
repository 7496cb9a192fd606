// IUnitInfo of IFxVST3: the root unit with the factory program list, and one
// unit per parameter group.
#include "vst3/IFxVST3.h"

#include "vst3/TextConvert.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using tarvo::vst3::Utf8ToUtf16;

//------------------------------------------------------------------------
int32 PLUGIN_API IFxVST3::getUnitCount()
{
    return static_cast<int32>(ParamGroupNames().size()) + 1;
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::getUnitInfo(int32 unitIndex, UnitInfo& info)
{
    if (unitIndex == 0) {
        info.id = kRootUnitId;
        info.parentUnitId = kNoParentUnitId;
        Utf8ToUtf16("Root Unit", info.name, 128);
        info.programListId = static_cast<ProgramListID>(kPresetId);
        return kResultTrue;
    }
    if (unitIndex < 1 || unitIndex > static_cast<int32>(ParamGroupNames().size()))
        return kResultFalse;
    info.id = unitIndex;
    info.parentUnitId = kRootUnitId;
    Utf8ToUtf16(ParamGroupNames()[static_cast<std::size_t>(unitIndex - 1)].c_str(), info.name, 128);
    info.programListId = kNoProgramListId;
    return kResultTrue;
}

//------------------------------------------------------------------------
int32 PLUGIN_API IFxVST3::getProgramListCount()
{
    return NPresets() > 0 ? 1 : 0;
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::getProgramListInfo(int32 listIndex, ProgramListInfo& info)
{
    if (listIndex != 0)
        return kResultFalse;
    info.id = static_cast<ProgramListID>(kPresetId);
    Utf8ToUtf16("Factory Presets", info.name, 128);
    info.programCount = NPresets();
    return kResultTrue;
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::getProgramName(ProgramListID listId, int32 programIndex, String128 name)
{
    if (listId != static_cast<ProgramListID>(kPresetId) || name == nullptr)
        return kResultFalse;
    // PresetName gives "" for an index out of range.
    Utf8ToUtf16(PresetName(programIndex), name, 128);
    return kResultTrue;
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::getProgramInfo(ProgramListID, int32, Vst::CString, String128)
{
    return kNotImplemented;
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::hasProgramPitchNames(ProgramListID, int32)
{
    return kNotImplemented;
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::getProgramPitchName(ProgramListID, int32, int16, String128)
{
    return kNotImplemented;
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::selectUnit(UnitID)
{
    return kNotImplemented;
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::getUnitByBus(MediaType, BusDirection, int32, int32, UnitID&)
{
    return kNotImplemented;
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::setUnitProgramData(int32, int32, IBStream*)
{
    return kNotImplemented;
}
