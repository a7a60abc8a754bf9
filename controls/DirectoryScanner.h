#pragma once

// Reads the entries of one folder, one at a time, and tells folders from files. A folder is
// identified by its device and inode, so a walk can recognise a folder it is already inside,
// whatever path or link led there.

#include <dirent.h>
#include <sys/types.h>

#include <string>

namespace iplug {
namespace igraphics {

// The identity of a folder on its file system.
struct FolderId {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const FolderId&) const = default;
};

class DirectoryScanner {
 public:
  DirectoryScanner() = default;
  ~DirectoryScanner() { Close(); }
  DirectoryScanner(const DirectoryScanner&) = delete;
  DirectoryScanner& operator=(const DirectoryScanner&) = delete;

  // Opens the folder and reads its first entry: 0 when there is one, 1 when the folder cannot be
  // opened (logged with the reason) or is empty, -1 for a null or empty path. One trailing
  // separator is dropped ("/" stays "/"). A folder still open is closed first.
  int First(const char* path);
  // Reads the next entry; false at the end, or on a read error (logged; the entries already
  // read stay read).
  bool Next();
  void Close();

  const char* GetCurrentFN() const { return mEntry ? mEntry->d_name : ""; }
  // The scanner's path, "/" and the entry's name, at any length.
  std::string GetCurrentFullFN() const;
  const std::string& GetPath() const { return mPath; }

  // Whether the current entry is a folder, following symbolic links; when it is, its identity
  // goes to id. A link whose target is missing is neither folder nor file.
  enum class EKind { kFile, kFolder, kMissing };
  EKind CurrentKind(FolderId* id) const;

  // The identity of the folder at path; false when it is no folder that can be looked at.
  static bool Identify(const std::string& path, FolderId& id);

 private:
  bool Read();

  std::string mPath;
  DIR* mDir = nullptr;
  dirent* mEntry = nullptr;
};

}  // namespace igraphics
}  // namespace iplug
