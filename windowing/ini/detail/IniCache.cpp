#include "windowing/ini/detail/IniCache.h"

#include "windowing/ini/detail/IniParser.h"

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
    chosen->complete = true;
    chosen->sections.clear();
  }
  chosen->useStamp = ++mUseCounter;
  return *chosen;
}

void IniCache::refresh(IniFileCache& slot) {
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
  if (!replaceIniFile(target, text, written)) {
    slot.stale = true;
    slot.writtenHere = false;
    return false;
  }
  // The table then holds the text just written, as a reader of the file would: the names
  // and values the edits added are not kept on beside it.
  IniParser parser(slot.sections);
  parser.feed(text);
  parser.finish();
  slot.identity = written;
  slot.writtenHere = true;
  slot.stale = false;
  slot.complete = true;
  return true;
}

}  // namespace swell
