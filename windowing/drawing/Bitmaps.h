#pragma once

#include "windowing/Win32Types.h"
#include "windowing/drawing/DrawingTypes.h"

// Bitmap objects, blits between contexts, image lists and the system colours.

namespace platform {
class NSImage;
}

// A bitmap of 32-bit pixels (bytes B, G, R, A in rows of width x 4); null data gives a
// transparent bitmap. Other depths are refused (null).
HBITMAP CreateBitmap(int width, int height, int planes, int bitsPerPixel, const void* data);
HICON CreateIconIndirect(const ICONINFO* info);
// A file image (a name holding '/') or one of the application's named images; with the
// icon flag, magenta pixels become transparent.
HBITMAP LoadNamedImage(const char* name, bool icon);
int GetObject(HGDIOBJ object, int size, void* buffer);
platform::NSImage* GetNSImageFromHICON(HICON icon);
void DrawImageInRect(HDC hdc, HGDIOBJ bitmap, const RECT* r);
void BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int mode);
// Copies a region of a memory context, scaled to (w, h) by nearest pixels. The mode
// 0xDEADBEEF reads the source's fourth byte as straight alpha; any other mode copies
// opaque pixels.
void StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                int mode);

namespace swell {
// The image of an image-list entry; null for an index out of range or a removed entry.
platform::NSImage* imageListImage(HIMAGELIST list, int index);
}  // namespace swell

HIMAGELIST ImageList_CreateEx();
int ImageList_Add(HIMAGELIST list, HBITMAP bitmap, HBITMAP mask);
int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon);
BOOL ImageList_Remove(HIMAGELIST list, int index);
void ImageList_Destroy(HIMAGELIST list);

COLORREF GetSysColor(int index);
bool SWELL_osx_is_dark_mode(int query);
