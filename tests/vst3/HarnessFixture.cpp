#include "HarnessFixture.h"

#include "public.sdk/source/common/memorystream.h"

#include <chrono>
#include <filesystem>
#include <map>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

using namespace Steinberg;

namespace harness {

//------------------------------------------------------------------------
std::string NextToProgram(const char* relative)
{
#ifdef _WIN32
    wchar_t buf[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, buf, MAX_PATH);
    std::filesystem::path exe(buf);
#else
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
#endif
    return (exe.parent_path() / relative).lexically_normal().string();
}

//------------------------------------------------------------------------
tarvo::host::HostModule& LoadedModule(const char* relativeBundle)
{
    // Never destroyed: the modules stay loaded (and reachable, for the leak
    // checker) until the program ends.
    static auto* modules = new std::map<std::string, tarvo::host::HostModule*>;
    auto*& module = (*modules)[relativeBundle];
    if (module == nullptr) {
        module = new tarvo::host::HostModule;
        if (!module->Load(NextToProgram(relativeBundle)))
            ADD_FAILURE() << module->Error();
    }
    return *module;
}

//------------------------------------------------------------------------
std::string ToUtf8(const char16* text)
{
    std::string out;
    for (; text && *text; ++text)
        out += *text < 0x80 ? static_cast<char>(*text) : '?';
    return out;
}

//------------------------------------------------------------------------
void PluginTest::Open(const char* relativeBundle, bool offerRunLoop)
{
    plug = std::make_unique<tarvo::host::HostPlugin>("Harness Host", offerRunLoop);
    std::string error;
    ASSERT_NE(LoadedModule(relativeBundle).Factory(), nullptr);
    ASSERT_TRUE(plug->Create(LoadedModule(relativeBundle).Factory(), &error)) << error;
}

//------------------------------------------------------------------------
std::vector<std::uint8_t> PluginTest::GetState(bool throughController)
{
    MemoryStream stream;
    tresult r = throughController ? plug->controller->getState(&stream) : plug->component->getState(&stream);
    EXPECT_EQ(r, kResultOk);
    auto* data = reinterpret_cast<const std::uint8_t*>(stream.getData());
    return std::vector<std::uint8_t>(data, data + stream.getSize());
}

//------------------------------------------------------------------------
tresult PluginTest::SetState(const std::vector<std::uint8_t>& bytes, bool throughController)
{
    MemoryStream stream;
    int32 written = 0;
    if (!bytes.empty())
        stream.write(const_cast<std::uint8_t*>(bytes.data()), static_cast<int32>(bytes.size()), &written);
    stream.seek(0, IBStream::kIBSeekSet, nullptr);
    return throughController ? plug->controller->setState(&stream) : plug->component->setState(&stream);
}

//------------------------------------------------------------------------
bool PluginTest::PumpUntil(const std::function<bool()>& done, int ms)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        plug->loop.RunFor(10);
    }
    return true;
}

} // namespace harness
