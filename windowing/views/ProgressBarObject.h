#pragma once

#include <cstdint>

#include "platform/core/ProgressIndicator.h"
#include "windowing/Win32Types.h"
#include "windowing/core/DirtyMarking.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/views/ProgressBar.h"

// The view object of a progress bar: a platform progress indicator that answers the
// progress messages.

class Swell_vCorvaneBrisko_progind : public SwellDirtyMarking<platform::NSProgressIndicator>,
                                     public SwellMessageEntry {
 public:
  using SwellDirtyMarking<platform::NSProgressIndicator>::SwellDirtyMarking;

  const char* swellGetClass() const { return "msctls_progress32"; }
  long tag() const override { return static_cast<long>(m_tag); }
  void setTag(std::int64_t tag) { m_tag = tag; }
  // PBM_SETRANGE (low and high word of lParam), PBM_SETPOS and PBM_DELTAPOS (wParam as
  // a signed 32-bit number); always 0.
  LRESULT onSwellMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  std::int64_t m_tag = 0;
};
