// The product's names, version, build and build date: shown in the window,
// its messages and the About box, and stored in every container's header, so
// that all of them say the same.
#pragma once

/// The window's caption and the caption of its messages (trailing blank included).
constexpr const char* kEditionTitle = "Ostrel Standard Edition v.3 ";
constexpr const char* kVendorName = "Harwelco";
constexpr const char* kProductVersion = "Version 3.0.1";
constexpr const char* kProductBuild = "Build 305";
constexpr const char* kProductBuildDate = "24 June 2009";
/// The extension of output files, without the dot, until the IIS choice replaces it.
constexpr const char* kDefaultOutputExtension = "osq";
