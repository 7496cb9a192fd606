#pragma once
// The one rule at the module's edge: no C++ exception leaves a VST 3
// interface method, a module entry point or a callback the host or the
// system makes into the module. A host cannot catch our exceptions; one that
// escapes aborts the host and loses the user's unsaved work.
//
// Every such method whose work can reach throwing code (allocation, the SDK's
// support classes, the plug-in's own hooks) runs its body through Guarded.
// The code underneath is written not to throw in the first place (bounds
// checks, conversions that report failure); this is the backstop.
#include <type_traits>

namespace tarvo::vst3 {

// Runs body() and returns its result, or failure if it throws. The result
// type is the body's, so failure may be any value convertible to it.
template <typename Body>
std::invoke_result_t<Body&> Guarded(std::type_identity_t<std::invoke_result_t<Body&>> failure,
                                     Body&& body) noexcept
{
    try {
        return body();
    } catch (...) {
        return failure;
    }
}

// For callbacks that return nothing: an exception ends the call quietly.
template <typename Body>
void Guarded(Body&& body) noexcept
{
    try {
        body();
    } catch (...) {
    }
}

} // namespace tarvo::vst3
