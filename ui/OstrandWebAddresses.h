#pragma once
// The two web addresses the screw and the logo open: the user guide that
// ships inside the bundle, and the maker's home page when the guide cannot
// be found or opened.
#include <string>

// The maker's home page.
inline constexpr const char* kTarvoHomePage = "https://quenby-audio.example.org";
// The user guide's file name in the bundle's Contents/Resources folder.
inline constexpr const char* kTarvoUserGuideFile = "TarvoUserGuide.html";
// What the browser is asked to show as the caption.
inline constexpr const char* kTarvoGuideCaption = "Tarvo user guide";

// The guide's file:// address for a module whose binary lies in moduleFolder
// (Contents/<architecture>/, ending in a separator); the guide is
// Contents/Resources/TarvoUserGuide.html. Empty when moduleFolder is empty.
// Windows folders ("C:\...") become file:///C:/... addresses; characters an
// address cannot hold are percent-encoded.
std::string UserGuideAddress(const std::string& moduleFolder);

// The path of that file on disk (empty when moduleFolder is empty).
std::string UserGuidePath(const std::string& moduleFolder);
