#pragma once

// The Win32 kernel calls of the windowing layer over POSIX: sleeping and tick
// counts, file times, rectangles, integer scaling, reference-counted kernel
// handles (threads, events, socket-backed events, child processes), waiting,
// global memory blocks, dynamic libraries and their entry points, module paths,
// GUIDs and the temporary folder.
//
// Every function validates the handles it is given: a null, closed, freed or
// foreign pointer gets the Win32 failure value and a logged diagnostic, never a
// dereference.

#include <cstddef>

#include "windowing/Win32Types.h"

// Time.
void Sleep(DWORD milliseconds);
DWORD GetTickCount();
BOOL GetFileTime(int fd, FILETIME* creation, FILETIME* lastAccess, FILETIME* lastWrite);

// Rectangles, points and integer helpers.
BOOL SWELL_PtInRect(const RECT* r, POINT p);
BOOL WinOffsetRect(RECT* r, int dx, int dy);
BOOL WinSetRect(RECT* r, int left, int top, int right, int bottom);
BOOL WinIntersectRect(RECT* out, const RECT* a, const RECT* b);
BOOL WinUnionRect(RECT* out, const RECT* a, const RECT* b);
int MulDiv(int a, int b, int c);
unsigned int _controlfp(unsigned int value, unsigned int mask);
char* lstrcpyn(char* dest, const char* src, int n);

// Kernel handles and waiting.
BOOL CloseHandle(HANDLE h);
HANDLE CreateEvent(void* attributes, BOOL manualReset, BOOL initialState);
HANDLE CreateEventAsSocket(void* attributes, BOOL manualReset, BOOL initialState);
BOOL SetEvent(HANDLE h);
BOOL ResetEvent(HANDLE h);
DWORD WaitForSingleObject(HANDLE h, DWORD timeoutMs);
DWORD WaitForAnySocketObject(int count, HANDLE* handles, DWORD timeoutMs);

// Threads.
using LPTHREAD_START_ROUTINE = DWORD (*)(void* parameter);
HANDLE CreateThread(void* attributes, std::size_t stackSize, LPTHREAD_START_ROUTINE start,
                    void* parameter, DWORD flags, DWORD* threadId);
BOOL SetThreadPriority(HANDLE thread, int priority);
DWORD GetCurrentThreadId();

// Global memory blocks: the handle is the pointer to the data.
HANDLE GlobalAlloc(int flags, int size);
void* GlobalLock(HANDLE block);
BOOL GlobalUnlock(HANDLE block);
int GlobalSize(HANDLE block);
HANDLE GlobalFree(HANDLE block);

// Dynamic libraries. A folder is opened as a bundle (its executable is a shared
// object under Contents/MacOS); anything else is handed to the dynamic loader,
// so a plain library name is found on the loader's search path.
using SWELL_dllMain_t = int (*)(HINSTANCE module, DWORD reason, void* parameter);
using DllMain_t = BOOL (*)(HINSTANCE module, DWORD reason, void* reserved);
HINSTANCE LoadLibrary(const char* path);
HINSTANCE LoadLibraryGlobals(const char* path, bool globalSymbols);
void* GetProcAddress(HINSTANCE module, const char* symbol);
BOOL FreeLibrary(HINSTANCE module);
void* SWELL_GetBundle(HINSTANCE module);
DWORD GetModuleFileName(HINSTANCE module, char* buffer, DWORD size);

// Identifiers and folders.
bool SWELL_GenerateGUID(void* out16);
DWORD GetTempPath(DWORD size, char* buffer);
