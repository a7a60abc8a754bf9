#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/core/View.h"
#include "platform/drawing/Font.h"

namespace platform {

// One entry of a listed folder.
struct FileListEntry {
  std::string name;
  bool isDirectory = false;
  bool enabled = true;  // greyed entries show but cannot be selected
};

// The contents of one real folder as a list of rows, the file panels' browser: folders
// first, then files, each group by name ignoring case; names beginning with '.' are not
// listed. A click selects a row (Shift or Command extends when several are allowed), a
// double click opens it.
class FileListView : public NSView {
 public:
  static constexpr double kRowHeight = 18;
  using EnabledTest = std::function<bool(const std::string& name, bool isDirectory)>;

  using NSView::NSView;

  // Lists the folder, each entry enabled by the test. A folder that cannot be read
  // leaves the list empty and returns false (logged).
  bool load(const std::string& folder, const EnabledTest& enabled);
  const std::string& folder() const { return mFolder; }
  const std::vector<FileListEntry>& entries() const { return mEntries; }
  // The row of the name, or -1.
  int rowNamed(const std::string& name) const;

  // The selected rows, in order.
  const std::vector<int>& selectedRows() const { return mSelected; }
  // Selects an enabled row (adding it to the selection when extending is allowed);
  // false for a greyed or missing row.
  bool selectRow(int row, bool extend);
  void deselectAll();
  bool allowsMultipleSelection() const { return mMultiple; }
  void setAllowsMultipleSelection(bool allows) { mMultiple = allows; }

  // Where a row lies, in the view's coordinates, and the row under a point (-1 for none).
  NSRect rectOfRow(int row) const;
  int rowAtPoint(NSPoint point) const;

  // Told when the selection changes and when a row is opened (double click).
  std::function<void()> onSelectionChange;
  std::function<void(int row)> onOpen;

  bool isFlipped() const override { return true; }
  void mouseDown(const NSEvent& e) override;
  void drawRect(const NSRect& dirtyRect) override;

 private:
  void fitHeight();

  std::string mFolder;
  std::vector<FileListEntry> mEntries;
  std::vector<int> mSelected;
  bool mMultiple = false;
  NSFont mFont = NSFont::systemFontOfSize(NSFont::systemFontSize());
};

// The folder holding a path ("/" for a path in the root); the path itself when it has
// no '/'.
std::string parentFolder(const std::string& path);
// Joins a folder and a name with one '/'.
std::string joinPath(const std::string& folder, const std::string& name);

}  // namespace platform
