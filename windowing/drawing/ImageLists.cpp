#include <vector>

#include "platform/drawing/Image.h"
#include "windowing/drawing/Bitmaps.h"
#include "windowing/drawing/detail/DrawingRecords.h"

struct SwellImageList {
  std::vector<HGDIOBJ> entries;  // owned; null after a removal
};

platform::NSImage* swell::imageListImage(HIMAGELIST list, int index) {
  if (!list || index < 0 || index >= static_cast<int>(list->entries.size())) return nullptr;
  HGDIOBJ entry = list->entries[static_cast<std::size_t>(index)];
  return entry ? GetNSImageFromHICON(entry) : nullptr;
}

HIMAGELIST ImageList_CreateEx() {
  return new SwellImageList;
}

int ImageList_Add(HIMAGELIST list, HBITMAP bitmap, HBITMAP) {
  platform::NSImage* image = list ? GetNSImageFromHICON(bitmap) : nullptr;
  if (!image) return -1;
  platform::NSImage* copy = image->copy();
  if (!copy) return -1;
  copy->setFlipped(true);
  HBITMAP entry = swell::makeBitmapObject(copy);
  copy->release();
  if (!entry) return -1;
  list->entries.push_back(entry);
  // The count after appending, which is one more than the new entry's index.
  return static_cast<int>(list->entries.size());
}

int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon) {
  platform::NSImage* image = list ? GetNSImageFromHICON(icon) : nullptr;
  if (!image) return -1;
  HBITMAP entry = swell::makeBitmapObject(image);
  if (!entry) return -1;
  const int count = static_cast<int>(list->entries.size());
  if (index >= 0 && index < count) {
    DeleteObject(list->entries[static_cast<std::size_t>(index)]);
    list->entries[static_cast<std::size_t>(index)] = entry;
    return index;
  }
  list->entries.push_back(entry);
  return count;
}

BOOL ImageList_Remove(HIMAGELIST list, int index) {
  if (!list || index >= static_cast<int>(list->entries.size())) return FALSE;
  if (index < 0) {
    for (HGDIOBJ entry : list->entries)
      DeleteObject(entry);
    list->entries.clear();
    return TRUE;
  }
  HGDIOBJ& entry = list->entries[static_cast<std::size_t>(index)];
  DeleteObject(entry);
  entry = nullptr;
  return TRUE;
}

void ImageList_Destroy(HIMAGELIST list) {
  if (!list) return;
  ImageList_Remove(list, -1);
  delete list;
}
