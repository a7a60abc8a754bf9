#pragma once

#include "windowing/Win32Types.h"

// Named properties of window objects. A name below 0x10000 is an atom kept as its
// value; any other name is copied. Other handles have no properties.
BOOL SetProp(HWND hwnd, const char* name, HANDLE value);
HANDLE GetProp(HWND hwnd, const char* name);
HANDLE RemoveProp(HWND hwnd, const char* name);
// Calls proc for each property, newest first: -1 without properties, else 0 as soon
// as proc answers 0, otherwise 1.
int EnumPropsEx(HWND hwnd, PROPENUMPROCEX proc, LPARAM lParam);
