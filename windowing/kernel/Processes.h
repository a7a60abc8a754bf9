#pragma once

// Child processes: started by path with their arguments (no shell), optionally with pipes
// on their standard streams; process handles are released by CloseHandle and waited on by
// WaitForSingleObject.

#include "windowing/Win32Types.h"

// The selector bit of SWELL_ReadWriteProcessIO that makes a read take only what is
// ready now.
inline constexpr int SWELL_PROCESS_IO_NONBLOCKING = 0x1000000;

HANDLE SWELL_CreateProcess(const char* exe, int nparams, const char** params);
HANDLE SWELL_CreateProcessIO(const char* exe, int nparams, const char** params, bool redirectIO);
// The exit status (or the signal that ended it), -3 while it runs, -1 for a bad
// handle, -2 on an error.
int SWELL_GetProcessExitCode(HANDLE hProc);
// 0 once asked to end (or when it has ended), -1 for a bad handle, -2 on an error.
int SWELL_TerminateProcess(HANDLE hProc);
// Stream 0 writes the child's input, 1 and 2 read its output and error. A read waits
// for data unless SWELL_PROCESS_IO_NONBLOCKING is set; a waiting read with a length
// below 1 reports the bytes ready and takes none. Returns the bytes moved.
int SWELL_ReadWriteProcessIO(HANDLE hProc, int w, char* buf, int bufsz);
// What CloseHandle and WaitForSingleObject do with the child-process object a
// process handle holds: release it (the child runs on), and wait for the child to end
// (0) or the time-out to pass (WAIT_TIMEOUT).
void SWELL_ReleaseProcessHandle(void* task);
int SWELL_WaitForProcess(void* task, DWORD timeoutMs);
// Brings the child's application to the front when the display knows a window of it;
// it is looked for for a second while the child starts up.
void SWELL_BringProcessToFront(HANDLE hProc);
