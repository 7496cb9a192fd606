# The product: Tarvo.vst3, the Ostrand plug-in class compiled on top of the
# VST 3 binding, and the target that installs it for the current user.
tarvo_add_vst3_bundle(tarvo_bundle
  NAME Tarvo
  SOURCES ${TARVO_OSTRAND_SOURCES} ${CMAKE_CURRENT_SOURCE_DIR}/TarvoMain.cpp
  LIBS tarvo_dsp
  DEFINITIONS TARVO_OSTRAND_VST3
  VENDOR "quenby audio"
  URL "https://quenby-audio.example.org"
  EMAIL "support@quenby-audio.example.org"
  CATEGORY "Audio Module Class"
  SUBCATEGORIES "Fx|Dynamics"
  VERSION "${PROJECT_VERSION}"
  SDK_VERSION "VST 3.5.2"
  CID_WORDS 0xF2AEE70D 0x00DE4F4E 0x51656E62 0x74417256)

# Where a user's VST 3 plug-ins live: ~/.vst3 on Linux; on Windows the
# per-user folder %LOCALAPPDATA%/Programs/Common/VST3.
if(WIN32)
  set(_user_vst3 "$ENV{LOCALAPPDATA}/Programs/Common/VST3")
else()
  set(_user_vst3 "$ENV{HOME}/.vst3")
endif()
set(TARVO_VST3_INSTALL_DIR "${_user_vst3}" CACHE PATH "Folder the install-bundle target copies Tarvo.vst3 into")

get_property(_tarvo_bundle_dir GLOBAL PROPERTY tarvo_bundle_BUNDLE_DIR)
add_custom_target(tarvo_install_bundle
  COMMAND ${CMAKE_COMMAND} -E rm -rf "${TARVO_VST3_INSTALL_DIR}/Tarvo.vst3"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${TARVO_VST3_INSTALL_DIR}"
  COMMAND ${CMAKE_COMMAND} -E copy_directory "${_tarvo_bundle_dir}" "${TARVO_VST3_INSTALL_DIR}/Tarvo.vst3"
  COMMAND ${CMAKE_COMMAND} -E echo "Installed ${TARVO_VST3_INSTALL_DIR}/Tarvo.vst3"
  DEPENDS tarvo_bundle
  COMMENT "Installing Tarvo.vst3 for the current user"
  VERBATIM)
# `cmake --install` places the bundle in the same folder.
install(DIRECTORY "${_tarvo_bundle_dir}" DESTINATION "${TARVO_VST3_INSTALL_DIR}" USE_SOURCE_PERMISSIONS)
