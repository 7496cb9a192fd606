#pragma once
// A plug-in with one parameter of each kind that records the edit path
// (gesture brackets, values sent from the editor), and a control that
// records every call the surface makes on it.
#include "editor/IControl.h"
#include "editor/headless/IEditorSurfaceHeadless.h"
#include "framework/IFxBase.h"

#include <string>
#include <vector>

enum EditorTestParam : int {
    kTestLevel = 0,    // continuous 0 .. 10, step 0.01
    kTestMode = 1,     // choice of "Soft", "Medium", "Hard"
    kTestSwitch = 2,   // switch with texts "Off", "On"
    kTestOffset = 3,   // integer -72 .. 72, shown negated
    kNumTestParams
};

class EditorTestPlugin : public IFxBase {
public:
    EditorTestPlugin()
        : IFxBase(kNumTestParams, "2-2", 1, "Test", "", "maker", 0x00010000, 1, 2, 0, false, true, false, 1)
    {
        GetParam(kTestLevel)->SetupContinuous("Level", 5.0, 0.0, 10.0, 0.01);
        GetParam(kTestMode)->SetupEnum("Mode", 1, 3);
        GetParam(kTestMode)->AddValueText(0, "Soft");
        GetParam(kTestMode)->AddValueText(1, "Medium");
        GetParam(kTestMode)->AddValueText(2, "Hard");
        GetParam(kTestSwitch)->SetupBool("Switch", false);
        GetParam(kTestSwitch)->AddValueText(0, "Off");
        GetParam(kTestSwitch)->AddValueText(1, "On");
        GetParam(kTestOffset)->SetupInteger("Offset", 0, -72, 72);
        GetParam(kTestOffset)->SetShowNegated(true);
    }

    void BeginInformHostOfParamChange(int idx) override { log.push_back("begin " + std::to_string(idx)); }
    void EndInformHostOfParamChange(int idx) override { log.push_back("end " + std::to_string(idx)); }
    void SetParameterFromGUI(int idx, double normalized) override
    {
        sent.push_back(normalized);
        log.push_back("gui " + std::to_string(idx));
        IFxBase::SetParameterFromGUI(idx, normalized);
    }
    bool RequestEditorResize(int w, int h) override
    {
        log.push_back("resize " + std::to_string(w) + "x" + std::to_string(h));
        return true;
    }

    std::vector<std::string> log;
    std::vector<double> sent;  // normalised values the editor sent
};

// Records each call as "<name> <event>" into a shared log.
class ProbeControl : public IControl {
public:
    ProbeControl(std::vector<std::string>* log, const char* name, IFxBase* plug, const IBounds& bounds,
                 int paramIdx = -1)
        : IControl(plug, bounds, paramIdx), mLog(log), mName(name) {}

    void MouseDown(int x, int y, const IMouseState&) override { Note("down " + Xy(x, y)); }
    void MouseUp(int x, int y, const IMouseState&) override { Note("up " + Xy(x, y)); }
    void MouseDrag(int x, int y, int dx, int dy, const IMouseState&) override
    {
        Note("drag " + Xy(x, y) + " " + Xy(dx, dy));
    }
    void MouseDoubleClick(int x, int y, const IMouseState& mouse) override
    {
        Note("dbl " + Xy(x, y));
        IControl::MouseDoubleClick(x, y, mouse);
    }
    bool KeyPress(int, int, int key) override
    {
        Note("key " + std::to_string(key));
        return takesKeys;
    }
    void MouseHover(int x, int y, const IMouseState&) override { Note("hover " + Xy(x, y)); }
    void MouseLeave() override { Note("leave"); }
    bool Paint(IEditorSurface*) override
    {
        Note("paint");
        return true;
    }

    bool takesKeys = true;

private:
    static std::string Xy(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
    void Note(const std::string& what) { mLog->push_back(mName + " " + what); }

    std::vector<std::string>* mLog;
    std::string mName;
};
