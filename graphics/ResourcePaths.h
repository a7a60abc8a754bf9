#pragma once

#include <string>

namespace iplug {
namespace igraphics {

// The folders searched for images, SVG files and fonts named by resource name, in the order
// they were added. Process-wide and thread-safe.
class ResourcePaths {
 public:
  // Adds a folder (once); empty or null names are ignored.
  static void Add(const char* folder);
  // Forgets every folder.
  static void Clear();

  // Finds a readable regular file: an absolute name as it stands; a relative one inside each
  // folder in turn, then relative to the working folder. For scale 2 and above a "@2x" file
  // ("knob@2x.png" beside "knob.png") is preferred; fileScale receives 2 for it and 1 for the plain
  // file.
  static bool Find(const char* name, int targetScale, std::string& path, int& fileScale);
};

}  // namespace igraphics
}  // namespace iplug
