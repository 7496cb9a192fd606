#pragma once
// What the X11 editor tests stand on: a host frame whose run loop the test
// drives by hand, a connection of the test's own to the Xvfb display (the
// host's parent window, synthetic input through XTest, reading pixels back),
// and a small plug-in whose editor has controls that record what reaches
// them and draw their state.
#include "editor/IControl.h"
#include "editor/x11/IEditorSurfaceX11.h"
#include "vst3/IFxVST3.h"

#include "pluginterfaces/gui/iplugview.h"

#include <xcb/xcb.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

// --- The host's frame and run loop ------------------------------------------
class FakeFrame : public Steinberg::IPlugFrame, public Steinberg::Linux::IRunLoop {
public:
    // offersRunLoop false: a frame without IRunLoop. takesDescriptors false:
    // a run loop that only runs timers (registerEventHandler fails).
    // loneRunLoop: the frame hands out a run loop object of its own that
    // answers no interface query, as some hosts do.
    explicit FakeFrame(bool offersRunLoop = true, bool takesDescriptors = true, bool loneRunLoop = false)
        : mOffersRunLoop(offersRunLoop), mTakesDescriptors(takesDescriptors), mLoneRunLoop(loneRunLoop) {}
    virtual ~FakeFrame();

    // Runs the loop for ms milliseconds: readable descriptors reach their
    // handlers, timers fire at their intervals.
    void RunFor(int ms);
    size_t EventHandlers() const { return mFds.size(); }
    size_t Timers() const { return mTimers.size(); }

    Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView*, Steinberg::ViewRect*) SMTG_OVERRIDE
    {
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API registerEventHandler(Steinberg::Linux::IEventHandler* handler,
                                                       Steinberg::Linux::FileDescriptor fd) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API unregisterEventHandler(Steinberg::Linux::IEventHandler* handler) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API registerTimer(Steinberg::Linux::ITimerHandler* handler,
                                                Steinberg::Linux::TimerInterval ms) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API unregisterTimer(Steinberg::Linux::ITimerHandler* handler) SMTG_OVERRIDE;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1000; }
    Steinberg::uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1000; }

private:
    class LoneRunLoop : public Steinberg::Linux::IRunLoop {
    public:
        explicit LoneRunLoop(FakeFrame& frame) : mFrame(frame) {}
        Steinberg::tresult PLUGIN_API registerEventHandler(Steinberg::Linux::IEventHandler* handler,
                                                           Steinberg::Linux::FileDescriptor fd) SMTG_OVERRIDE
        {
            return mFrame.registerEventHandler(handler, fd);
        }
        Steinberg::tresult PLUGIN_API unregisterEventHandler(Steinberg::Linux::IEventHandler* handler) SMTG_OVERRIDE
        {
            return mFrame.unregisterEventHandler(handler);
        }
        Steinberg::tresult PLUGIN_API registerTimer(Steinberg::Linux::ITimerHandler* handler,
                                                    Steinberg::Linux::TimerInterval ms) SMTG_OVERRIDE
        {
            return mFrame.registerTimer(handler, ms);
        }
        Steinberg::tresult PLUGIN_API unregisterTimer(Steinberg::Linux::ITimerHandler* handler) SMTG_OVERRIDE
        {
            return mFrame.unregisterTimer(handler);
        }
        Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID, void** obj) SMTG_OVERRIDE
        {
            *obj = nullptr;
            return Steinberg::kNoInterface;
        }
        Steinberg::uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1000; }
        Steinberg::uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1000; }

    private:
        FakeFrame& mFrame;
    };

    struct Fd {
        Steinberg::Linux::IEventHandler* handler;
        int fd;
    };
    struct Timer {
        Steinberg::Linux::ITimerHandler* handler;
        int ms;
        int64_t due;
    };
    bool mOffersRunLoop;
    bool mTakesDescriptors;
    bool mLoneRunLoop;
    LoneRunLoop mLone{*this};
    std::vector<Fd> mFds;
    std::vector<Timer> mTimers;
};

// --- The test's own connection to the display -----------------------------
class TestDisplay {
public:
    TestDisplay();
    ~TestDisplay();
    bool Ok() const;
    xcb_connection_t* C() const { return mC; }
    xcb_window_t Root() const { return mRoot; }

    // A mapped top-level window at (0, 0) that stands for the host's.
    xcb_window_t MakeParent(int width, int height);
    void Destroy(xcb_window_t window);
    // Children of window, and how many of them are mapped.
    std::vector<xcb_window_t> Children(xcb_window_t window);
    bool IsMapped(xcb_window_t window);
    // A mapped override-redirect top-level window (a popup menu), or 0.
    xcb_window_t FindPopup();
    // Waits up to ms for FindPopup to find one.
    xcb_window_t WaitForPopup(int ms);
    void Geometry(xcb_window_t window, int& x, int& y, int& w, int& h);

    // Synthetic input at root coordinates (the parent sits at 0, 0).
    void MoveTo(int x, int y);
    void Press(int button);
    void Release(int button);
    void Click(int x, int y, int button = 1);
    void KeyDown(uint32_t keysym);
    void KeyUp(uint32_t keysym);
    void Tap(uint32_t keysym);
    void Type(const char* text);
    // Waits until the server has handled everything sent so far.
    void Sync();

    // The window's pixels as 0x00RRGGBB words, row by row.
    std::vector<uint32_t> ReadPixels(xcb_window_t window, int width, int height);
    // Events the test's own windows received (key presses sent on to the
    // host's window are looked for here).
    int CountKeyPressesOn(xcb_window_t window);

private:
    xcb_keycode_t KeycodeOf(uint32_t keysym);

    xcb_connection_t* mC = nullptr;
    xcb_window_t mRoot = 0;
    std::vector<uint32_t> mKeysyms;
    int mPerCode = 0;
    int mMinCode = 0;
};

// --- The plug-in and its controls -------------------------------------------
enum X11TestParam : int { kLevel = 0, kMode = 1, kCount = 2, kNumX11TestParams };

// What a control saw, in order.
struct ControlLog {
    std::vector<std::string> events;
    IMouseState lastMouse;
    int dragDx = 0, dragDy = 0;
    int Count(const std::string& prefix) const;
};

// Fills its rectangle with a colour made from its value and the number of
// presses it saw, and writes its name: what it shows depends on its state.
class ShowingControl : public IControl {
public:
    ShowingControl(IFxBase* plug, const IBounds& bounds, int paramIdx, uint32_t tint, const char* name)
        : IControl(plug, bounds, paramIdx), mTint(tint), mName(name) {}
    bool Paint(IEditorSurface* surface) override;
    int mPresses = 0;

protected:
    uint32_t mTint;
    std::string mName;
};

// Records every mouse and key call.
class RecordingControl : public ShowingControl {
public:
    RecordingControl(IFxBase* plug, const IBounds& bounds, int paramIdx, ControlLog* log)
        : ShowingControl(plug, bounds, paramIdx, 0x4060a0, "rec"), mLog(log) {}
    void MouseDown(int x, int y, const IMouseState& m) override;
    void MouseUp(int x, int y, const IMouseState& m) override;
    void MouseDrag(int x, int y, int dx, int dy, const IMouseState& m) override;
    void MouseDoubleClick(int x, int y, const IMouseState& m) override;
    bool KeyPress(int x, int y, int key) override;
    void MouseHover(int x, int y, const IMouseState& m) override;
    void MouseLeave() override;

private:
    ControlLog* mLog;
};

// Asks for its parameter's value (menu or text entry) when pressed.
class PromptingControl : public ShowingControl {
public:
    PromptingControl(IFxBase* plug, const IBounds& bounds, int paramIdx)
        : ShowingControl(plug, bounds, paramIdx, 0x208040, "ask") {}
    void MouseDown(int, int, const IMouseState&) override { PromptForValue(mBounds); }
};

// Shows its own menu (prefix style 2, a submenu) when pressed and keeps what
// came back.
class MenuControl : public ShowingControl {
public:
    MenuControl(IFxBase* plug, const IBounds& bounds) : ShowingControl(plug, bounds, -1, 0x804020, "menu") {}
    void MouseDown(int, int, const IMouseState&) override;
    int shown = 0;
    bool chosen = false;
    bool chosenInSubmenu = false;
    int chosenIndex = -1;
};

constexpr int kEditorWidth = 320;
constexpr int kEditorHeight = 200;
// Control rectangles (also where the tests point).
constexpr IBounds kRecBounds{20, 20, 120, 80};
constexpr IBounds kModeBounds{140, 20, 200, 50};
constexpr IBounds kCountBounds{140, 60, 200, 90};
constexpr IBounds kMenuBounds{220, 20, 300, 50};

class X11TestPlugin : public IFxVST3 {
public:
    // headless: the editor is the headless surface (for pixel references).
    explicit X11TestPlugin(bool headless = false);
    IEditorSurface* Surface() const { return mSurface; }
    IEditorSurfaceX11* X11() const { return mX11; }

    void BeginInformHostOfParamChange(int idx) override;
    void EndInformHostOfParamChange(int idx) override;

    ControlLog recLog;
    RecordingControl* rec = nullptr;
    MenuControl* menu = nullptr;
    std::vector<std::string> gestures;

private:
    IEditorSurface* mSurface = nullptr;
    IEditorSurfaceX11* mX11 = nullptr;
};

// Opens the test plug-in's editor in a fresh parent through the VST 3 view.
struct OpenEditor {
    explicit OpenEditor(TestDisplay& display, bool offersRunLoop = true, bool takesDescriptors = true,
                        bool loneRunLoop = false);
    ~OpenEditor();
    void Close();
    // Lets the editor handle what the server has and tick a few times.
    void Run(int ms = 60) { frame.RunFor(ms); }
    xcb_window_t EditorWindow() const;

    TestDisplay& display;
    FakeFrame frame;
    X11TestPlugin* plug = nullptr;
    Steinberg::IPlugView* view = nullptr;
    xcb_window_t parent = 0;
    Steinberg::tresult attachResult = Steinberg::kResultFalse;
    bool closed = false;
};

// Open descriptors of this process.
int CountOpenFds();
