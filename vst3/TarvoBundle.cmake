# The product: Tarvo.vst3, the Ostrand plug-in class compiled on top of the
# VST 3 binding with its editor (opened in this platform's window), and the
# target that installs it for the current user.
tarvo_add_vst3_bundle(tarvo_bundle
  NAME Tarvo
  SOURCES ${TARVO_OSTRAND_SOURCES} ${TARVO_UI_SOURCES} ${CMAKE_CURRENT_SOURCE_DIR}/TarvoMain.cpp
  LIBS tarvo_dsp tarvo_editor tarvo_editor_platform tarvo_ui_generated
  DEFINITIONS TARVO_OSTRAND_VST3 TARVO_OSTRAND_EDITOR
  VENDOR "quenby audio"
  URL "https://quenby-audio.example.org"
  EMAIL "support@quenby-audio.example.org"
  CATEGORY "Audio Module Class"
  SUBCATEGORIES "Fx|Dynamics"
  VERSION "${PROJECT_VERSION}"
  SDK_VERSION "VST 3.5.2"
  CID_WORDS 0xF2AEE70D 0x00DE4F4E 0x51656E62 0x74417256
  SNAPSHOT)

# The user guide the editor's screw and logo open, beside moduleinfo.json.
get_property(_tarvo_bundle_dir GLOBAL PROPERTY tarvo_bundle_BUNDLE_DIR)
add_custom_command(TARGET tarvo_bundle POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${TARVO_USER_GUIDE} "${_tarvo_bundle_dir}/Contents/Resources/"
  VERBATIM)

# The picture hosts show in their plug-in browsers:
# Contents/Resources/Snapshots/<class id>_snapshot.png, the editor as it
# looks after its opening banner, drawn by tarvo-snapshot. tarvo-snapshot is
# a native tool, so a native build draws it; a cross build copies it from
# the native build in TARVO_NATIVE_BUILD_DIR when that has one (build the
# native bundle first), else the bundle goes without.
get_property(_tarvo_cid GLOBAL PROPERTY tarvo_bundle_CLASS_ID)
set(_tarvo_snapshot "${_tarvo_bundle_dir}/Contents/Resources/Snapshots/${_tarvo_cid}_snapshot.png")
if(NOT CMAKE_CROSSCOMPILING)
  add_custom_command(OUTPUT ${_tarvo_snapshot}
    COMMAND ${CMAKE_COMMAND} -E make_directory "${_tarvo_bundle_dir}/Contents/Resources/Snapshots"
    COMMAND $<TARGET_FILE:tarvo-snapshot> --ticks 80 -o ${_tarvo_snapshot}
    DEPENDS tarvo-snapshot
    COMMENT "Drawing the editor snapshot of Tarvo.vst3"
    VERBATIM)
  add_custom_target(tarvo_bundle_snapshot ALL DEPENDS ${_tarvo_snapshot})
else()
  set(TARVO_NATIVE_BUILD_DIR "${PROJECT_SOURCE_DIR}/build/linux" CACHE PATH
    "A native build whose bundle snapshot the cross-built bundle copies")
  set(_native_snapshot "${TARVO_NATIVE_BUILD_DIR}/vst3/Tarvo.vst3/Contents/Resources/Snapshots/${_tarvo_cid}_snapshot.png")
  # Runs on every build (a copy only when the native picture changed), so
  # the bundle never keeps an outdated one.
  add_custom_target(tarvo_bundle_snapshot ALL
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${_native_snapshot} -DTARGET=${_tarvo_snapshot}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/CopyIfPresent.cmake
    COMMENT "Copying the editor snapshot from the native build"
    VERBATIM)
endif()

# The editor's art, drawn by tools/tarvo-art, travels inside the module.
include(TarvoResources)
tarvo_add_png_resources(tarvo_bundle ${TARVO_ART_FILES} DEPENDS tarvo_art)
target_link_libraries(tarvo_bundle PRIVATE tarvo_raster)

# Where a user's VST 3 plug-ins live: ~/.vst3 on Linux; on Windows the
# per-user folder %LOCALAPPDATA%/Programs/Common/VST3.
if(WIN32)
  set(_user_vst3 "$ENV{LOCALAPPDATA}/Programs/Common/VST3")
else()
  set(_user_vst3 "$ENV{HOME}/.vst3")
endif()
set(TARVO_VST3_INSTALL_DIR "${_user_vst3}" CACHE PATH "Folder the install-bundle target copies Tarvo.vst3 into")

add_custom_target(tarvo_install_bundle
  COMMAND ${CMAKE_COMMAND} -E rm -rf "${TARVO_VST3_INSTALL_DIR}/Tarvo.vst3"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${TARVO_VST3_INSTALL_DIR}"
  COMMAND ${CMAKE_COMMAND} -E copy_directory "${_tarvo_bundle_dir}" "${TARVO_VST3_INSTALL_DIR}/Tarvo.vst3"
  COMMAND ${CMAKE_COMMAND} -E echo "Installed ${TARVO_VST3_INSTALL_DIR}/Tarvo.vst3"
  DEPENDS tarvo_bundle tarvo_bundle_snapshot
  COMMENT "Installing Tarvo.vst3 for the current user"
  VERBATIM)
# `cmake --install` places the bundle in the same folder.
install(DIRECTORY "${_tarvo_bundle_dir}" DESTINATION "${TARVO_VST3_INSTALL_DIR}" USE_SOURCE_PERMISSIONS)
