#include "windowing/dialogs/DialogFromList.h"

#include <cstring>

#include "windowing/controls/ControlFactories.h"

void SWELL_GenerateDialogFromList(const void* list, int count) {
  if (!list) return;
  const auto* records = static_cast<const SWELL_DlgResourceControl*>(list);
  for (int i = 0; i < count; ++i) {
    const SWELL_DlgResourceControl& r = records[i];
    const char* key = r.first ? r.first : "";
    auto is = [&](const char* keyword) { return std::strcmp(key, keyword) == 0; };
    if (is("__SWELL_BUTTON")) {
      SWELL_MakeButton(r.second, r.third, r.fourth, r.x, r.y, r.w, r.h, r.last);
    } else if (is("__SWELL_EDIT")) {
      SWELL_MakeEditField(r.fourth, r.x, r.y, r.w, r.h, r.last);
    } else if (is("__SWELL_COMBO")) {
      SWELL_MakeCombo(r.fourth, r.x, r.y, r.w, r.h, r.last);
    } else if (is("__SWELL_LISTBOX")) {
      SWELL_MakeControl("", r.fourth, "SysListView32_LB", r.last, r.x, r.y, r.w, r.h, 0);
    } else if (is("__SWELL_GROUP")) {
      SWELL_MakeGroupBox(r.third, r.fourth, r.x, r.y, r.w, r.h, r.last);
    } else if (is("__SWELL_CHECKBOX")) {
      SWELL_MakeControl(r.third, r.fourth, "Button", r.last | static_cast<int>(BS_AUTOCHECKBOX),
                        r.x, r.y, r.w, r.h, 0);
    } else if (is("__SWELL_LABEL")) {
      SWELL_MakeLabel(r.second, r.third, r.fourth, r.x, r.y, r.w, r.h, r.last);
    } else if (is("__SWELL_ICON")) {
      continue;
    } else if (r.third && *r.third) {
      // A class record; a null text counts as "".
      SWELL_MakeControl(r.first ? r.first : "", r.second, r.third, r.fourth, r.x, r.y, r.w, r.h,
                        r.last);
    }
  }
}
