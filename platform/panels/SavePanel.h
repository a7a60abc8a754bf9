#pragma once

#include <string>
#include <vector>

#include "platform/core/Application.h"
#include "platform/core/Menu.h"
#include "platform/core/Panel.h"

namespace platform {

class FileListView;
class NSButton;
class NSScrollView;
class NSSavePanel;
class NSTextField;

// What the owner of a save panel may say about a name the user confirmed.
class NSSavePanelDelegate {
 public:
  virtual ~NSSavePanelDelegate() = default;
  // The path to save to for the path the user confirmed (an extension added, say); the
  // panel asks before replacing what the returned path names.
  virtual std::string panelUserEnteredPath(NSSavePanel* panel, const std::string& path) = 0;
};

// The modal chooser of a file name to save to, over a real folder: a name field, the
// folder's list (files not of the allowed types greyed), an optional accessory view of
// the caller's, and the Up, New Folder, Cancel and Save buttons. A typed name is taken
// relative to the shown folder; one naming a folder enters it. Without a delegate, a
// name whose extension is not allowed gets the first allowed type. Before an existing
// file is replaced the user is asked.
class NSSavePanel : public NSPanel, public AccessoryViewHost, public ActionTarget {
 public:
  static constexpr double kWidth = 520;
  static constexpr double kListHeight = 240;
  static constexpr double kMargin = 12;
  static constexpr double kGap = 8;
  static constexpr double kRowHeight = 24;
  static constexpr int kMaxUntitledFolders = 1000;

  // The panel is not released when closed: its creator releases it.
  NSSavePanel() : NSSavePanel(true) {}

  const std::string& directory() const { return mDirectory; }
  // The folder shown when the panel runs (the home folder when it cannot be read).
  void setDirectory(std::string folder) { mDirectory = std::move(folder); }
  // The name typed; an open panel, without a name field, selects the entry of that name
  // when it runs.
  std::string nameFieldStringValue() const;
  void setNameFieldStringValue(std::string name);
  // Extensions without the dot; empty allows every file.
  const std::vector<std::string>& allowedFileTypes() const { return mAllowedTypes; }
  void setAllowedFileTypes(std::vector<std::string> types);
  bool canCreateDirectories() const { return mCanCreateDirectories; }
  void setCanCreateDirectories(bool can);
  NSSavePanelDelegate* savePanelDelegate() const { return mDelegate; }
  void setSavePanelDelegate(NSSavePanelDelegate* delegate) { mDelegate = delegate; }

  // Runs the panel: NSModalResponseOK when a path was chosen, else NSModalResponseCancel.
  NSModalResponse runModal();
  // The chosen path (empty before a run ends with OK).
  const std::string& path() const { return mPath; }

  // The accessory view sits between the list and the buttons, as wide as the panel; the
  // panel retains it. Setting the same view again lays the panel out for its new size.
  NSView* accessoryView() const override { return mAccessory.get(); }
  void setAccessoryView(NSView* view) override;

  // The parts a user works with.
  FileListView* fileList() const { return mList; }
  NSTextField* nameField() const { return mNameField; }
  NSButton* okButton() const { return mOk; }
  NSButton* cancelButton() const { return mCancel; }
  NSButton* upButton() const { return mUp; }
  NSButton* newFolderButton() const { return mNewFolder; }
  // Whether the file type is among the allowed ones (ignoring case).
  bool isAllowedFileName(const std::string& name) const;
  // Shows a folder in the list; one that cannot be read is not entered (false, logged): the
  // list stays on the folder it showed.
  bool showFolder(const std::string& folder);

  void sendEvent(const NSEvent& event) override;
  void performAction(int action, NSObject* sender) override;

 protected:
  // The OK button was pressed: true ends the run with OK.
  virtual bool confirm();
  // Whether a listed entry can be chosen.
  virtual bool isSelectable(const std::string& name, bool isDirectory) const;
  // A row was double-clicked.
  virtual void rowOpened(int row);
  virtual void selectionChanged();
  // Forgets the chosen path (at the start of a run, and when it is cancelled).
  virtual void clearChoice() { mPath.clear(); }
  void layoutPanel();
  // Makes "untitled folder" (numbered when taken) in the shown folder and selects it.
  void makeNewFolder();
  bool hasNameField() const { return mNameField != nullptr; }

  std::string mDirectory;
  std::string mInitialName;  // an open panel's entry to select
  std::string mPath;
  std::vector<std::string> mAllowedTypes;

 private:
  NSButton* addButton(const std::string& title, int action);

  bool mCanCreateDirectories = true;
  NSSavePanelDelegate* mDelegate = nullptr;
  Ref<NSView> mAccessory;  // a subview while set
  FileListView* mList = nullptr;
  NSScrollView* mScroll = nullptr;
  NSTextField* mNameLabel = nullptr;
  NSTextField* mNameField = nullptr;
  NSTextField* mFolderLabel = nullptr;
  NSButton* mOk = nullptr;
  NSButton* mCancel = nullptr;
  NSButton* mUp = nullptr;
  NSButton* mNewFolder = nullptr;

 protected:
  // Open panels have no name field.
  explicit NSSavePanel(bool withNameField);
};

}  // namespace platform
