#include "framework/IFxPreset.h"

#include "framework/TextField.h"

//------------------------------------------------------------------------
IFxPreset::IFxPreset()
{
    fx::CopyText(name, "empty");
}
