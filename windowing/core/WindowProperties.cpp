#include "windowing/core/WindowProperties.h"

#include "windowing/core/WindowObject.h"

BOOL SetProp(HWND hwnd, const char* name, HANDLE value) {
  auto* w = swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(hwnd);
  return w && name ? w->swellSetProp(name, value) : 0;
}

HANDLE GetProp(HWND hwnd, const char* name) {
  auto* w = swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(hwnd);
  return w && name ? w->swellGetProp(name, false) : nullptr;
}

HANDLE RemoveProp(HWND hwnd, const char* name) {
  auto* w = swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(hwnd);
  return w && name ? w->swellGetProp(name, true) : nullptr;
}

int EnumPropsEx(HWND hwnd, PROPENUMPROCEX proc, LPARAM lParam) {
  auto* w = swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(hwnd);
  return w ? w->swellEnumProps(proc, lParam) : -1;
}
