#pragma once

// Worker threads: the layer switches to multithreaded mode once; a worker thread holds an
// autorelease pool while it runs.

void SWELL_EnsureMultithreadedCocoa();
void* SWELL_InitAutoRelease();
void SWELL_QuitAutoRelease(void* pool);
// Starts a detached thread that runs function(argument); the first two arguments are not
// read.
void SWELL_CreateThreadObject(void* unused1, void* unused2, void (*function)(void*),
                              void* argument);
