// The product's version, build and build date: shown in the About box and
// stored in every container's header, so both say the same.
#pragma once

constexpr const char* kProductVersion = "Version 3.0.1";
constexpr const char* kProductBuild = "Build 305";
constexpr const char* kProductBuildDate = "24 June 2009";
