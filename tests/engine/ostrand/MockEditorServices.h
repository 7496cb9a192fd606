#pragma once
// A gmock double of the editor side of Ostrand.
#include "engine/ostrand/OstrandEditorServices.h"

#include <gmock/gmock.h>

class MockEditorServices : public OstrandEditorServices {
public:
    MOCK_METHOD(void, SetReadoutText, (OstrandReadout readout, const char* text), (override));
    MOCK_METHOD(void, SetSwitchLight, (OstrandLight light, bool on), (override));
    MOCK_METHOD(void, SetStyleLight, (double value), (override));
    MOCK_METHOD(void, SetClipLightValues, (double value), (override));
    MOCK_METHOD(void, ShowClipLight, (bool right), (override));
    MOCK_METHOD(void, HideClipLights, (), (override));
    MOCK_METHOD(void, ShowPlates, (), (override));
    MOCK_METHOD(void, SetMeters, (const OstrandMeters& meters), (override));
    MOCK_METHOD(void, SetDelayFader, (double normalized), (override));
    MOCK_METHOD(void, RefreshParamControl, (int paramIdx, double normalized), (override));
    MOCK_METHOD(void, MoveParamControl, (int paramIdx, double normalized), (override));
    MOCK_METHOD(void, InitUndoHistory, (), (override));
    MOCK_METHOD(void, PushUndoSnapshot, (), (override));
    MOCK_METHOD(void, MarkAllControlsDirty, (), (override));
};
