#include "tests/editor/win/WinTestHost.h"

namespace {

constexpr const char* kHostClass = "TarvoTestHost";

//------------------------------------------------------------------------
LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_KEYDOWN)
        HostKeys().push_back(wParam);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

//------------------------------------------------------------------------
BOOL CALLBACK CountChild(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

} // namespace

//------------------------------------------------------------------------
std::vector<WPARAM>& HostKeys()
{
    static std::vector<WPARAM> keys;
    return keys;
}

//------------------------------------------------------------------------
HWND CreateHostWindow(int width, int height, HWND parent)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        wc.lpszClassName = kHostClass;
        registered = RegisterClassA(&wc) != 0;
    }
    const DWORD style = parent != nullptr ? WS_CHILD | WS_VISIBLE : WS_POPUP | WS_VISIBLE;
    HWND hwnd = CreateWindowExA(0, kHostClass, "host", style, 0, 0, width, height, parent, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    PumpFor(20);
    return hwnd;
}

//------------------------------------------------------------------------
bool PumpUntil(const std::function<bool()>& done, int timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > static_cast<DWORD>(timeoutMs))
            return done();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

//------------------------------------------------------------------------
void PumpFor(int ms)
{
    PumpUntil([] { return false; }, ms);
}

//------------------------------------------------------------------------
bool IsClassRegistered(HMODULE module)
{
    WNDCLASSA wc{};
    return GetClassInfoA(module, IEditorSurfaceWin::kWindowClassName, &wc) != 0;
}

//------------------------------------------------------------------------
int CountChildWindows(HWND parent)
{
    int count = 0;
    EnumChildWindows(parent, CountChild, reinterpret_cast<LPARAM>(&count));
    return count;
}

//------------------------------------------------------------------------
unsigned WindowPixel(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

//------------------------------------------------------------------------
bool FillControl::Paint(IEditorSurface* surface)
{
    ++paints;
    RasterBitmap* back = surface->GetBackBuffer();
    const IBounds area = mBounds.Intersection(surface->DrawBounds());
    for (int y = area.top; y < area.bottom && y < back->GetHeight(); ++y)
        for (int x = area.left; x < area.right && x < back->GetWidth(); ++x)
            back->GetBits()[y * back->GetRowSpan() + x] = 0xff000000u | colour;
    return true;
}

//------------------------------------------------------------------------
WinEditorFixture::WinEditorFixture()
{
    surface = new IEditorSurfaceWin(&plug, 200, 100, 60);
    background = new FillControl(&plug, {0, 0, 200, 100}, 0x808080);
    surface->AddControl(background);
    probe = new ProbeControl(&plug.log, "probe", &plug, {10, 10, 60, 40}, kTestLevel);
    surface->AddControl(probe);
    surface->SetHandleMouseOver(true);
    plug.AttachEditor(surface);
    host = CreateHostWindow();
    HostKeys().clear();
}

//------------------------------------------------------------------------
WinEditorFixture::~WinEditorFixture()
{
    surface->CloseEditorWindow();
    DestroyWindow(host);
    PumpFor(10);
}

//------------------------------------------------------------------------
LRESULT WinEditorFixture::Mouse(UINT msg, int x, int y, WPARAM flags)
{
    return SendMessageA(surface->Window(), msg, flags, MAKELPARAM(x, y));
}

//------------------------------------------------------------------------
std::vector<std::string> WinEditorFixture::TakeLog()
{
    std::vector<std::string> out;
    for (const std::string& entry : plug.log)
        if (entry.find(" paint") == std::string::npos)
            out.push_back(entry);
    plug.log.clear();
    return out;
}
