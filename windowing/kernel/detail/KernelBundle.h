#pragma once

// Bundles: folders laid out as Name.bundle/Contents/MacOS/<executable>, whose
// executable is a shared object. Contents/Info.plist may name the executable
// (CFBundleExecutable); without it the executable has the folder's name less
// its extension.

#include <string>

namespace swell {

// The folder without trailing slashes ("/" stays "/").
std::string bundleFolderPath(const std::string& folder);

// The path of the bundle's executable, or empty when Info.plist names one that
// would lie outside Contents/MacOS.
std::string bundleExecutablePath(const std::string& folder);

// The application's bundle folder: the folder three levels above an executable
// that lies in X/Contents/MacOS, else the folder holding the executable.
std::string mainBundleFolder();

}  // namespace swell
