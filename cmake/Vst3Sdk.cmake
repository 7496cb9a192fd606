# The VST 3 SDK, compiled from the sources Debian ships. scripts/install-deps
# unpacks them (scripts/deps.d/10-vst3-sdk) into the dependency prefix
# outside the repository.
set(TARVO_VST3_SDK_DIR "/opt/tarvo-deps/vst3sdk/VST3_SDK"
    CACHE PATH "Folder holding the VST 3 SDK (base, pluginterfaces, public.sdk)")

if(NOT EXISTS "${TARVO_VST3_SDK_DIR}/pluginterfaces/base/funknown.h")
  message(FATAL_ERROR "VST 3 SDK not found at ${TARVO_VST3_SDK_DIR}; run scripts/install-deps "
                      "(or point TARVO_VST3_SDK_DIR at a folder holding base/, pluginterfaces/ and public.sdk/)")
endif()

set(_sdk ${TARVO_VST3_SDK_DIR})
add_library(vst3sdk STATIC
  ${_sdk}/base/source/baseiids.cpp
  ${_sdk}/base/source/fbuffer.cpp
  ${_sdk}/base/source/fdebug.cpp
  ${_sdk}/base/source/fobject.cpp
  ${_sdk}/base/source/fstreamer.cpp
  ${_sdk}/base/source/fstring.cpp
  ${_sdk}/base/source/updatehandler.cpp
  ${_sdk}/base/thread/source/flock.cpp
  ${_sdk}/pluginterfaces/base/conststringtable.cpp
  ${_sdk}/pluginterfaces/base/coreiids.cpp
  ${_sdk}/pluginterfaces/base/funknown.cpp
  ${_sdk}/pluginterfaces/base/ustring.cpp
  ${_sdk}/public.sdk/source/common/memorystream.cpp
  ${_sdk}/public.sdk/source/common/pluginview.cpp
  ${_sdk}/public.sdk/source/vst/vstbus.cpp
  ${_sdk}/public.sdk/source/vst/vstcomponent.cpp
  ${_sdk}/public.sdk/source/vst/vstcomponentbase.cpp
  ${_sdk}/public.sdk/source/vst/vsteditcontroller.cpp
  ${_sdk}/public.sdk/source/vst/vstinitiids.cpp
  ${_sdk}/public.sdk/source/vst/vstparameters.cpp
  ${_sdk}/public.sdk/source/vst/vstpresetfile.cpp
)
target_include_directories(vst3sdk SYSTEM PUBLIC ${_sdk})
target_compile_definitions(vst3sdk PUBLIC RELEASE=1)
target_compile_options(vst3sdk PRIVATE -w)
if(WIN32)
  target_link_libraries(vst3sdk PUBLIC ole32 uuid)
else()
  find_package(Threads REQUIRED)
  target_link_libraries(vst3sdk PUBLIC Threads::Threads ${CMAKE_DL_LIBS})
endif()
