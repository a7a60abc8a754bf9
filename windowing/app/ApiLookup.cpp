#include "windowing/app/ApiLookup.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "windowing/Win32.h"

namespace {

template <class F>
void* address(F* function) {
  return reinterpret_cast<void*>(function);
}

#define SWELL_API(name) \
  { #name, address(&name) }

// Kept in strcmp order by hand (a test checks it): no sorting at run time. Functions
// still to be built join the table when their issue adds them.
const SwellApiEntry* table(std::size_t* count) {
  static const SwellApiEntry entries[] = {
      SWELL_API(BeginPaint),
      SWELL_API(CheckDlgButton),
      SWELL_API(ClientToScreen),
      SWELL_API(CloseClipboard),
      SWELL_API(CloseHandle),
      SWELL_API(CreateEvent),
      SWELL_API(CreateEventAsSocket),
      SWELL_API(CreatePopupMenu),
      SWELL_API(CreateSolidBrush),
      SWELL_API(CreateThread),
      SWELL_API(DefWindowProc),
      SWELL_API(DeleteObject),
      SWELL_API(DestroyMenu),
      SWELL_API(DestroyWindow),
      SWELL_API(DragFinish),
      SWELL_API(DragQueryFile),
      SWELL_API(DragQueryPoint),
      SWELL_API(EmptyClipboard),
      SWELL_API(EnableWindow),
      SWELL_API(EndDialog),
      SWELL_API(EndPaint),
      SWELL_API(EnumChildWindows),
      SWELL_API(EnumClipboardFormats),
      SWELL_API(EnumPropsEx),
      SWELL_API(EnumWindows),
      SWELL_API(FindWindowEx),
      SWELL_API(FreeLibrary),
      SWELL_API(GetCapture),
      SWELL_API(GetClassName),
      SWELL_API(GetClientRect),
      SWELL_API(GetClipboardData),
      SWELL_API(GetCurrentThreadId),
      SWELL_API(GetDlgItem),
      SWELL_API(GetDlgItemInt),
      SWELL_API(GetDlgItemText),
      SWELL_API(GetFileTime),
      SWELL_API(GetForegroundWindow),
      SWELL_API(GetModuleFileName),
      SWELL_API(GetParent),
      SWELL_API(GetPrivateProfileInt),
      SWELL_API(GetPrivateProfileSection),
      SWELL_API(GetPrivateProfileString),
      SWELL_API(GetPrivateProfileStruct),
      SWELL_API(GetProcAddress),
      SWELL_API(GetProp),
      SWELL_API(GetSystemMetrics),
      SWELL_API(GetTempPath),
      SWELL_API(GetTextColor),
      SWELL_API(GetTickCount),
      SWELL_API(GetWindow),
      SWELL_API(GetWindowContentViewRect),
      SWELL_API(GetWindowLong),
      SWELL_API(GetWindowRect),
      SWELL_API(GetWindowTextLength),
      SWELL_API(GlobalAlloc),
      SWELL_API(GlobalFree),
      SWELL_API(GlobalLock),
      SWELL_API(GlobalSize),
      SWELL_API(GlobalUnlock),
      SWELL_API(InvalidateRect),
      SWELL_API(IsChild),
      SWELL_API(IsDlgButtonChecked),
      SWELL_API(IsWindow),
      SWELL_API(IsWindowEnabled),
      SWELL_API(IsWindowVisible),
      SWELL_API(KillTimer),
      SWELL_API(LoadLibrary),
      SWELL_API(LoadLibraryGlobals),
      SWELL_API(MulDiv),
      SWELL_API(OpenClipboard),
      SWELL_API(PostMessage),
      SWELL_API(RegisterClipboardFormat),
      SWELL_API(ReleaseCapture),
      SWELL_API(RemoveProp),
      SWELL_API(ResetEvent),
      SWELL_API(SWELL_BroadcastMessage),
      SWELL_API(SWELL_CB_AddString),
      SWELL_API(SWELL_CB_DeleteString),
      SWELL_API(SWELL_CB_Empty),
      SWELL_API(SWELL_CB_FindString),
      SWELL_API(SWELL_CB_GetCurSel),
      SWELL_API(SWELL_CB_GetItemData),
      SWELL_API(SWELL_CB_GetItemText),
      SWELL_API(SWELL_CB_GetNumItems),
      SWELL_API(SWELL_CB_InsertString),
      SWELL_API(SWELL_CB_SetCurSel),
      SWELL_API(SWELL_CB_SetItemData),
      SWELL_API(SWELL_CloseWindow),
      SWELL_API(SWELL_CreateDialog),
      SWELL_API(SWELL_DeleteGfxContext),
      SWELL_API(SWELL_DialogBox),
      SWELL_API(SWELL_EnableRightClickEmulate),
      SWELL_API(SWELL_ExtendedAPI),
      SWELL_API(SWELL_FillDialogBackground),
      SWELL_API(SWELL_FillRect),
      SWELL_API(SWELL_FinishDragDrop),
      SWELL_API(SWELL_FlushWindow),
      SWELL_API(SWELL_GenerateGUID),
      SWELL_API(SWELL_GetBundle),
      SWELL_API(SWELL_GetDefaultButtonID),
      SWELL_API(SWELL_GetDefaultModalWindowMenu),
      SWELL_API(SWELL_GetDefaultWindowMenu),
      SWELL_API(SWELL_GetDesiredControlSize),
      SWELL_API(SWELL_GetGestureInfo),
      SWELL_API(SWELL_GetOSXVersion),
      SWELL_API(SWELL_GetViewPort),
      SWELL_API(SWELL_GetWindowWantRaiseAmt),
      SWELL_API(SWELL_HideApp),
      SWELL_API(SWELL_Internal_PostMessage_Init),
      SWELL_API(SWELL_IsButton),
      SWELL_API(SWELL_IsGroupBox),
      SWELL_API(SWELL_IsStaticText),
      SWELL_API(SWELL_MessageQueue_Clear),
      SWELL_API(SWELL_MessageQueue_Flush),
      SWELL_API(SWELL_ModalWindowEnd),
      SWELL_API(SWELL_ModalWindowRun),
      SWELL_API(SWELL_ModalWindowStart),
      SWELL_API(SWELL_PostQuitMessage),
      SWELL_API(SWELL_PtInRect),
      SWELL_API(SWELL_SetClassName),
      SWELL_API(SWELL_SetDefaultModalWindowMenu),
      SWELL_API(SWELL_SetDefaultWindowMenu),
      SWELL_API(SWELL_SetMenuDestination),
      SWELL_API(SWELL_SetWindowLevel),
      SWELL_API(SWELL_SetWindowRepre),
      SWELL_API(SWELL_SetWindowWantRaiseAmt),
      SWELL_API(SWELL_TB_GetPos),
      SWELL_API(SWELL_TB_SetPos),
      SWELL_API(SWELL_TB_SetRange),
      SWELL_API(SWELL_TB_SetTic),
      SWELL_API(ScrollWindow),
      SWELL_API(SendMessage),
      SWELL_API(SetCapture),
      SWELL_API(SetClipboardData),
      SWELL_API(SetDlgItemInt),
      SWELL_API(SetDlgItemText),
      SWELL_API(SetEvent),
      SWELL_API(SetFocus),
      SWELL_API(SetForegroundWindow),
      SWELL_API(SetOpaque),
      SWELL_API(SetParent),
      SWELL_API(SetProp),
      SWELL_API(SetTextColor),
      SWELL_API(SetThreadPriority),
      SWELL_API(SetTimer),
      SWELL_API(SetWindowLong),
      SWELL_API(SetWindowPos),
      SWELL_API(ShowWindow),
      SWELL_API(Sleep),
      SWELL_API(UpdateWindow),
      SWELL_API(WaitForAnySocketObject),
      SWELL_API(WaitForSingleObject),
      SWELL_API(WinIntersectRect),
      SWELL_API(WinOffsetRect),
      SWELL_API(WinSetRect),
      SWELL_API(WinUnionRect),
      SWELL_API(WindowFromPoint),
      SWELL_API(WritePrivateProfileSection),
      SWELL_API(WritePrivateProfileString),
      SWELL_API(WritePrivateProfileStruct),
      SWELL_API(_controlfp),
      SWELL_API(lstrcpyn),
  };
  *count = sizeof entries / sizeof entries[0];
  return entries;
}

#undef SWELL_API

// What a null name answers, as the layer always has.
constexpr std::uintptr_t kNullNameAnswer = 256;

}  // namespace

namespace swell {
const SwellApiEntry* apiTable(std::size_t* count) {
  return table(count);
}
}  // namespace swell

void* SWELL_GetAPIFunctionByName(const char* name) {
  if (!name) return reinterpret_cast<void*>(kNullNameAnswer);
  std::size_t count = 0;
  const SwellApiEntry* entries = table(&count);
  const SwellApiEntry* end = entries + count;
  const SwellApiEntry* it = std::lower_bound(
      entries, end, name,
      [](const SwellApiEntry& e, const char* n) { return std::strcmp(e.name, n) < 0; });
  return it != end && std::strcmp(it->name, name) == 0 ? it->func : nullptr;
}
