#pragma once

#include <cstdint>

#include "windowing/Win32Types.h"

// The dialog resources the host registers, newest first.
extern SWELL_DialogResourceIndex* SWELL_DialogResourceHead;

// Links a record in front of the list (what the host does at static initialisation).
void SWELL_RegisterDialogResource(SWELL_DialogResourceIndex* record);
// The first record with the id, or null.
SWELL_DialogResourceIndex* SWELL_FindDialogResource(SWELL_DialogResourceIndex* head,
                                                    const char* resid);

// Requests with an id whose value without its low four bits is this ask for a bare
// window; the low bits choose its frame style.
inline constexpr std::uintptr_t kBareWindowRequest = 0x400000;

HWND SWELL_CreateDialog(SWELL_DialogResourceIndex* reshead, const char* resid, HWND parent,
                        DLGPROC dlgproc, LPARAM param);
int SWELL_DialogBox(SWELL_DialogResourceIndex* reshead, const char* resid, HWND parent,
                    DLGPROC dlgproc, LPARAM param);
void EndDialog(HWND hwnd, int result);
