#include "windowing/ini/detail/IniCache.h"

#include <optional>

#include "windowing/ini/detail/IniParser.h"
#include "windowing/ini/detail/IniPath.h"

namespace swell {

IniCache& IniCache::instance() {
  // Deliberately leaked: static destructors and atexit handlers of other units may still
  // read or write settings while the process exits.
  static IniCache* cache = new IniCache();
  return *cache;
}

IniFileCache& IniCache::slotFor(const std::string& path) {
  IniFileCache* chosen = nullptr;
  IniFileCache* oldest = &mSlots[0];
  for (IniFileCache& slot : mSlots) {
    if (slot.useStamp != 0 && slot.path == path) {
      chosen = &slot;
      break;
    }
    if (slot.useStamp < oldest->useStamp) oldest = &slot;
  }
  if (!chosen) {
    chosen = oldest;
    chosen->path = path;
    chosen->identity = IniFileIdentity();
    chosen->stale = true;
    chosen->writtenHere = false;
    chosen->swept = false;
    chosen->complete = true;
    chosen->sections.clear();
  }
  chosen->useStamp = ++mUseCounter;
  return *chosen;
}

void IniCache::refresh(IniFileCache& slot, const std::string* lockedTarget) {
  if (!slot.swept) {
    // Only while no writer is at work: a reader does not wait for one.
    slot.swept = true;
    if (lockedTarget) {
      removeLeftTemporaries(*lockedTarget);
    } else {
      const std::optional<std::string> target = resolveIniWriteTarget(slot.path);
      IniWriteLock lock;
      if (target && lock.tryAcquire(*target)) removeLeftTemporaries(*target);
    }
  }
  if (!slot.stale) {
    const IniFileIdentity onDisk = statIniFile(slot.path);
    if (onDisk == slot.identity && (slot.writtenHere || !isRecentlyModified(onDisk))) return;
  }
  ++mLoadCount;
  const IniLoadResult loaded = loadIniFile(slot.path, slot.sections);
  slot.writtenHere = false;
  slot.identity = loaded.identity;
  slot.complete = loaded.complete;
  slot.stale = !loaded.settled;
}

bool IniCache::writeBack(IniFileCache& slot, const std::string& target) {
  IniFileIdentity written;
  const std::string text = formatIniText(slot.sections);
  if (!replaceIniFile(target, slot.identity, text, written)) {
    slot.stale = true;
    slot.writtenHere = false;
    return false;
  }
  // The names and values edits set are added to the table's text; once they outweigh the text
  // written, the table is read again from what was written, so that a process writing often
  // does not keep growing.
  if (slot.sections.textSize() > 2 * text.size()) {
    IniParser parser(slot.sections);
    parser.feed(text);
    parser.finish();
  }
  slot.identity = written;
  slot.writtenHere = true;
  slot.stale = false;
  slot.complete = true;
  return true;
}

}  // namespace swell
