#pragma once

// Key events as Windows virtual keys or characters with accelerator-style modifier
// flags, and the live state of keys and mouse buttons.

#include "windowing/Win32Types.h"

// The virtual key (FVIRTKEY set in *flags) or character of a key event (a
// platform::NSEvent; null: the event being dispatched), with FSHIFT, FCONTROL for
// Command, FALT for Option and FLWIN for Control. Mode 1 looks at the typed
// characters first and, without any, asks the keyboard layout.
int SWELL_MacKeyToWindowsKeyEx(void* nsevent, int* flags, int mode);
// 0 for a null event; else the Ex form in mode 0.
int SWELL_MacKeyToWindowsKey(void* nsevent, int* flags);
// The US shifted character of a digit key pressed with Shift (flags exactly FVIRTKEY
// | FSHIFT; *newflags becomes 0); else 0.
int SWELL_KeyToASCII(int key, int flags, int* newflags);
// 0x8000 while the mouse button (1, 2, 4) or modifier (16 Shift, 17 Command, 18
// Option, 91 Control) is down, as of the last event dispatched; any thread.
WORD GetAsyncKeyState(int key);
