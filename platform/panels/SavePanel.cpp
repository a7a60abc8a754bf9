#include "platform/panels/SavePanel.h"

#include <sys/stat.h>

#include <strings.h>
#include <algorithm>
#include <cstdlib>

#include "base/Log.h"
#include "platform/core/Button.h"
#include "platform/core/ScrollView.h"
#include "platform/core/TextField.h"
#include "platform/panels/Alert.h"
#include "platform/panels/FileList.h"
#include "platform/panels/PanelParts.h"

namespace platform {

namespace {

enum PanelAction { kActionOk = 1, kActionCancel, kActionUp, kActionNewFolder };

constexpr double kButtonWidth = 90;
constexpr double kUpButtonWidth = 40;
constexpr double kNameLabelWidth = 70;
constexpr std::uint16_t kReturnKeyCode = 36;
constexpr std::uint16_t kKeypadEnterKeyCode = 76;
constexpr std::uint16_t kEscapeKeyCode = 53;

bool isFolder(const std::string& path) {
  struct stat st {};
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string homeFolder() {
  const char* home = std::getenv("HOME");
  return home && isFolder(home) ? home : "/";
}

std::string lastComponent(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

NSSavePanel::NSSavePanel(bool withNameField)
    : NSPanel(NSMakeRect(0, 0, kWidth, 400), NSWindowStyleMaskTitled) {
  setReleasedWhenClosed(false);
  setTitle(withNameField ? "Save" : "Open");
  setLevel(NSModalPanelWindowLevel);
  auto* content = new NSView(NSMakeRect(0, 0, kWidth, 400));
  setContentView(content);
  content->release();

  mScroll = new NSScrollView(NSMakeRect(0, 0, kWidth - 2 * kMargin, kListHeight));
  mScroll->setHasVerticalScroller(true);
  mList = new FileListView(NSMakeRect(0, 0, mScroll->contentSize().width, kListHeight));
  mScroll->setDocumentView(mList);
  mList->release();
  content->addSubview(mScroll);
  mScroll->release();
  mList->onSelectionChange = [this] { selectionChanged(); };
  mList->onOpen = [this](int row) { rowOpened(row); };

  mFolderLabel = addLabel(content, "", NSMakeRect(0, 0, 10, kRowHeight));
  if (withNameField) {
    mNameLabel =
        addLabel(content, "Save As:", NSMakeRect(0, 0, 10, kRowHeight), NSTextAlignmentRight);
    mNameField = new NSTextField(NSMakeRect(0, 0, 10, 22));
    content->addSubview(mNameField);
    mNameField->release();
  }
  mUp = addButton("Up", kActionUp);
  mNewFolder = addButton("New Folder", kActionNewFolder);
  mCancel = addButton("Cancel", kActionCancel);
  mOk = addButton(withNameField ? "Save" : "Open", kActionOk);
  mOk->setKeyEquivalent("\r");
  setDefaultButtonCell(mOk);
  layoutPanel();
}

NSButton* NSSavePanel::addButton(const std::string& title, int action) {
  auto* b = new NSButton(NSMakeRect(0, 0, kButtonWidth, kRowHeight));
  b->setTitle(title);
  b->setButtonType(NSButtonTypeMomentaryPushIn);
  b->setTarget(this);
  b->setAction(action);
  contentView()->addSubview(b);
  b->release();
  return b;
}

void NSSavePanel::layoutPanel() {
  NSSize accessory = mAccessory ? mAccessory->frame().size : NSSize{0, 0};
  double width = std::max(kWidth, accessory.width);
  double height = kMargin + kRowHeight + kGap + (mAccessory ? accessory.height + kGap : 0) +
                  kListHeight + kGap + kRowHeight + (mNameField ? kGap + kRowHeight : 0) + kMargin;
  setContentSize({width, height});

  double y = kMargin;
  mOk->setFrame(NSMakeRect(width - kMargin - kButtonWidth, y, kButtonWidth, kRowHeight));
  mCancel->setFrame(
      NSMakeRect(width - kMargin - 2 * kButtonWidth - kGap, y, kButtonWidth, kRowHeight));
  mNewFolder->setFrame(NSMakeRect(kMargin, y, kButtonWidth, kRowHeight));
  mNewFolder->setHidden(!mCanCreateDirectories);
  y += kRowHeight + kGap;
  if (mAccessory) {
    mAccessory->setFrame(NSMakeRect(0, y, width, accessory.height));
    y += accessory.height + kGap;
  }
  mScroll->setFrame(NSMakeRect(kMargin, y, width - 2 * kMargin, kListHeight));
  mList->setFrameSize({mScroll->contentSize().width, mList->frame().size.height});
  y += kListHeight + kGap;
  mUp->setFrame(NSMakeRect(kMargin, y, kUpButtonWidth, kRowHeight));
  mFolderLabel->setFrame(NSMakeRect(kMargin + kUpButtonWidth + kGap, y,
                                    width - 2 * kMargin - kUpButtonWidth - kGap, kRowHeight));
  y += kRowHeight + kGap;
  if (mNameField) {
    mNameLabel->setFrame(NSMakeRect(kMargin, y, kNameLabelWidth, kRowHeight));
    mNameField->setFrame(NSMakeRect(kMargin + kNameLabelWidth + kGap, y,
                                    width - 2 * kMargin - kNameLabelWidth - kGap, kRowHeight));
  }
}

std::string NSSavePanel::nameFieldStringValue() const {
  return mNameField ? mNameField->stringValue() : mInitialName;
}

void NSSavePanel::setNameFieldStringValue(std::string name) {
  if (mNameField)
    mNameField->setStringValue(std::move(name));
  else
    mInitialName = std::move(name);
}

void NSSavePanel::setAllowedFileTypes(std::vector<std::string> types) {
  mAllowedTypes = std::move(types);
  // The list greys what is no longer allowed.
  if (!mList->folder().empty()) showFolder(mList->folder());
}

void NSSavePanel::setCanCreateDirectories(bool can) {
  mCanCreateDirectories = can;
  mNewFolder->setHidden(!can);
}

void NSSavePanel::setAccessoryView(NSView* view) {
  // Setting the same view again lays the panel out for its new size.
  replaceAccessoryView(mAccessory, view, contentView());
  layoutPanel();
}

bool NSSavePanel::isAllowedFileName(const std::string& name) const {
  if (mAllowedTypes.empty()) return true;
  std::size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || dot == 0) return false;
  const char* extension = name.c_str() + dot + 1;
  return std::any_of(mAllowedTypes.begin(), mAllowedTypes.end(),
                     [&](const std::string& t) { return strcasecmp(t.c_str(), extension) == 0; });
}

bool NSSavePanel::showFolder(const std::string& folder) {
  auto selectable = [this](const std::string& name, bool isDirectory) {
    return isSelectable(name, isDirectory);
  };
  const std::string shown = mList->folder();
  if (mList->load(folder, selectable)) {
    mFolderLabel->setStringValue(folder);
    return true;
  }
  if (!shown.empty() && shown != folder) mList->load(shown, selectable);
  return false;
}

bool NSSavePanel::isSelectable(const std::string& name, bool isDirectory) const {
  return isDirectory || isAllowedFileName(name);
}

void NSSavePanel::selectionChanged() {
  const std::vector<int>& rows = mList->selectedRows();
  if (rows.size() != 1 || !mNameField) return;
  const FileListEntry& e = mList->entries()[rows.front()];
  if (!e.isDirectory) setNameFieldStringValue(e.name);
}

void NSSavePanel::rowOpened(int row) {
  const FileListEntry& e = mList->entries()[row];
  if (e.isDirectory) {
    showFolder(joinPath(mList->folder(), e.name));
    return;
  }
  mOk->performClick();
}

bool NSSavePanel::confirm() {
  std::string name = nameFieldStringValue();
  if (name.empty()) return false;
  std::string path = name.front() == '/' ? name : joinPath(mList->folder(), name);
  if (isFolder(path)) {
    showFolder(path);
    setNameFieldStringValue("");
    return false;
  }
  if (mDelegate) {
    path = mDelegate->panelUserEnteredPath(this, path);
  } else if (!isAllowedFileName(lastComponent(path))) {
    path += "." + mAllowedTypes.front();
  }
  if (path.empty()) return false;
  if (!isFolder(parentFolder(path))) {
    base::warn("platform", "no folder to save \"%s\" in", path.c_str());
    NSRunAlertPanel("", "The folder \"" + parentFolder(path) + "\" does not exist.", "OK", "", "");
    return false;
  }
  struct stat st {};
  if (lstat(path.c_str(), &st) == 0) {
    std::string shown = lastComponent(path);
    if (S_ISDIR(st.st_mode)) {
      NSRunAlertPanel("", "\"" + shown + "\" is a folder.", "OK", "", "");
      return false;
    }
    NSModalResponse answer =
        NSRunAlertPanel("", "\"" + shown + "\" already exists. Do you want to replace it?",
                        "Cancel", "Replace", "");
    if (answer != NSAlertAlternateReturn) return false;
  }
  mPath = path;
  return true;
}

void NSSavePanel::makeNewFolder() {
  std::string folder = mList->folder();
  for (int n = 1; n <= kMaxUntitledFolders; ++n) {
    std::string name = n == 1 ? "untitled folder" : "untitled folder " + std::to_string(n);
    if (mkdir(joinPath(folder, name).c_str(), 0777) == 0) {
      showFolder(folder);
      mList->selectRow(mList->rowNamed(name), false);
      return;
    }
    if (errno != EEXIST) break;
  }
  base::warn("platform", "cannot make a new folder in \"%s\"", folder.c_str());
}

void NSSavePanel::sendEvent(const NSEvent& event) {
  if (event.type == NSEventTypeKeyDown && event.window == this) {
    bool isReturn = event.keyCode == kReturnKeyCode || event.keyCode == kKeypadEnterKeyCode ||
                    event.charactersIgnoringModifiers == "\r";
    if (isReturn) {
      mOk->performClick();
      return;
    }
    if (event.keyCode == kEscapeKeyCode || event.charactersIgnoringModifiers == "\x1b") {
      mCancel->performClick();
      return;
    }
  }
  NSPanel::sendEvent(event);
}

void NSSavePanel::performAction(int action, NSObject*) {
  Ref<NSSavePanel> keep(this);
  switch (action) {
    case kActionOk:
      if (confirm() && NSApp()->isInModalRun(this)) NSApp()->stopModalWithCode(NSModalResponseOK);
      break;
    case kActionCancel:
      if (NSApp()->isInModalRun(this)) NSApp()->stopModalWithCode(NSModalResponseCancel);
      break;
    case kActionUp:
      showFolder(parentFolder(mList->folder()));
      break;
    case kActionNewFolder:
      if (mCanCreateDirectories) makeNewFolder();
      break;
    default:
      break;
  }
}

NSModalResponse NSSavePanel::runModal() {
  Ref<NSSavePanel> keep(this);
  clearChoice();
  if (!isFolder(mDirectory) || !showFolder(mDirectory)) showFolder(homeFolder());
  if (mNameField)
    makeFirstResponder(mNameField);
  else if (!mInitialName.empty())
    mList->selectRow(mList->rowNamed(mInitialName), false);
  NSModalResponse r = NSApp()->runModalForWindow(this);
  orderOut();
  mDirectory = mList->folder();
  if (r != NSModalResponseOK) {
    clearChoice();
    return NSModalResponseCancel;
  }
  return NSModalResponseOK;
}

}  // namespace platform
