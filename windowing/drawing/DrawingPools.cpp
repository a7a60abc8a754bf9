#include <cstdint>
#include <mutex>
#include <new>
#include <unordered_map>

#include "windowing/drawing/detail/DrawingRecords.h"

namespace swell {

namespace {

// The pools and the live registry share one mutex, made on first use and never
// destroyed, so drawing from exit-time code still finds it.
struct Pools {
  std::mutex mutex;
  HDC__* freeContexts = nullptr;
  int freeContextCount = 0;
  HGDIOBJ__* freeObjects = nullptr;
  int freeObjectCount = 0;
  std::unordered_map<const void*, std::uint64_t> liveContexts;
  std::unordered_map<const void*, std::uint64_t> liveObjects;
  std::uint64_t nextSerial = 1;
};

Pools& pools() {
  static Pools* p = new Pools;
  return *p;
}

// The two stock objects: never pooled, always live.
HGDIOBJ__* stockObject(int type) {
  static HGDIOBJ__* pen = [] {
    auto* o = new HGDIOBJ__;
    o->type = kPenObject;
    o->wid = -1;
    return o;
  }();
  static HGDIOBJ__* brush = [] {
    auto* o = new HGDIOBJ__;
    o->type = kBrushObject;
    o->wid = -1;
    return o;
  }();
  return type == kPenObject ? pen : brush;
}

}  // namespace

bool isMarker(const void* p) {
  auto v = reinterpret_cast<std::uintptr_t>(p);
  return v >= 1 && v <= 4;
}

HGDIOBJ stockNullObject(int type) {
  HGDIOBJ o = stockObject(type);
  Pools& p = pools();
  std::lock_guard<std::mutex> lock(p.mutex);
  if (!p.liveObjects.count(o)) p.liveObjects[o] = p.nextSerial++;
  return o;
}

bool isLiveDC(HDC hdc) {
  if (!hdc || isMarker(hdc)) return false;
  Pools& p = pools();
  std::lock_guard<std::mutex> lock(p.mutex);
  return p.liveContexts.count(hdc) != 0;
}

bool isLiveGdiObject(HGDIOBJ object) {
  return gdiObjectSerial(object) != 0;
}

std::uint64_t gdiObjectSerial(HGDIOBJ object) {
  if (!object || isMarker(object)) return 0;
  Pools& p = pools();
  std::lock_guard<std::mutex> lock(p.mutex);
  auto it = p.liveObjects.find(object);
  return it == p.liveObjects.end() ? 0 : it->second;
}

bool isObjectOfType(HGDIOBJ object, int type) {
  return isLiveGdiObject(object) && object->type == type;
}

HGDIOBJ selectedObject(HDC hdc, int type) {
  if (!isLiveDC(hdc)) return nullptr;
  HGDIOBJ o = type == kPenObject     ? hdc->curpen
              : type == kBrushObject ? hdc->curbrush
                                     : hdc->curfont;
  std::uint64_t serial = type == kPenObject     ? hdc->curpen_serial
                         : type == kBrushObject ? hdc->curbrush_serial
                                                : hdc->curfont_serial;
  return o && serial && gdiObjectSerial(o) == serial && o->type == type ? o : nullptr;
}

HGDIOBJ drawingObject(HDC hdc, int type) {
  HGDIOBJ object = selectedObject(hdc, type);
  return object && object->wid >= 0 ? object : nullptr;
}

HDC allocContext() {
  Pools& p = pools();
  std::lock_guard<std::mutex> lock(p.mutex);
  HDC__* record = p.freeContexts;
  if (record) {
    p.freeContexts = record->_next;
    --p.freeContextCount;
    *record = HDC__{};
  } else {
    record = new (std::nothrow) HDC__;
    if (!record) return nullptr;
  }
  p.liveContexts[record] = p.nextSerial++;
  return record;
}

HGDIOBJ allocObject() {
  Pools& p = pools();
  std::lock_guard<std::mutex> lock(p.mutex);
  HGDIOBJ__* record = p.freeObjects;
  if (record) {
    p.freeObjects = record->_next;
    --p.freeObjectCount;
    *record = HGDIOBJ__{};
  } else {
    record = new (std::nothrow) HGDIOBJ__;
    if (!record) return nullptr;
  }
  p.liveObjects[record] = p.nextSerial++;
  return record;
}

bool retireContext(HDC hdc) {
  if (!hdc || isMarker(hdc)) return false;
  Pools& p = pools();
  std::lock_guard<std::mutex> lock(p.mutex);
  return p.liveContexts.erase(hdc) != 0;
}

bool retireObject(HGDIOBJ object) {
  if (!object || isMarker(object)) return false;
  Pools& p = pools();
  std::lock_guard<std::mutex> lock(p.mutex);
  return p.liveObjects.erase(object) != 0;
}

void poolContext(HDC hdc) {
  *hdc = HDC__{};
  Pools& p = pools();
  {
    std::lock_guard<std::mutex> lock(p.mutex);
    if (p.freeContextCount < kMaxPooledContexts) {
      hdc->_infreelist = true;
      hdc->_next = p.freeContexts;
      p.freeContexts = hdc;
      ++p.freeContextCount;
      return;
    }
  }
  delete hdc;
}

void poolObject(HGDIOBJ object) {
  *object = HGDIOBJ__{};
  Pools& p = pools();
  {
    std::lock_guard<std::mutex> lock(p.mutex);
    if (p.freeObjectCount < kMaxPooledObjects) {
      object->_infreelist = true;
      object->_next = p.freeObjects;
      p.freeObjects = object;
      ++p.freeObjectCount;
      return;
    }
  }
  delete object;
}

int pooledContextCount() {
  Pools& p = pools();
  std::lock_guard<std::mutex> lock(p.mutex);
  return p.freeContextCount;
}

platform::NSColor colorFromRef(COLORREF c, double alpha) {
  return {((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0, alpha};
}

}  // namespace swell
