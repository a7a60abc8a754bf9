#pragma once

// Services of other areas of the windowing layer that the kernel emulation
// calls: Cocoa's multithreaded mode and autorelease pools for worker threads,
// and the release and wait of child-process handles.
//
// They live in this room (Processes.cpp, WorkerThreads.cpp), so a program that
// closes or waits on a handle links the real release and wait.

#include "windowing/Win32Types.h"

void SWELL_EnsureMultithreadedCocoa();
void* SWELL_InitAutoRelease();
void SWELL_QuitAutoRelease(void* pool);
void SWELL_ReleaseProcessHandle(void* task);
int SWELL_WaitForProcess(void* task, DWORD timeoutMs);
