#pragma once

// Services of other areas of the windowing layer that the kernel emulation
// calls: Cocoa's multithreaded mode and autorelease pools for worker threads,
// and the release and wait of child-process handles.
//
// They are weak references: while the code that defines one is not linked into
// the program, its address is null and the kernel code goes on without it (no
// pool, no multithreading switch, no process to wait for). A weak
// reference never pulls an object out of a static library and never clashes
// with the real definition, so the owning code only has to define the function
// with exactly this signature.

#include "windowing/Win32Types.h"

void SWELL_EnsureMultithreadedCocoa() __attribute__((weak));
void* SWELL_InitAutoRelease() __attribute__((weak));
void SWELL_QuitAutoRelease(void* pool) __attribute__((weak));
void SWELL_ReleaseProcessHandle(void* task) __attribute__((weak));
int SWELL_WaitForProcess(void* task, DWORD timeoutMs) __attribute__((weak));
