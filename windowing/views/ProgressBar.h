#pragma once

#include <cstdint>

#include "platform/ProgressIndicator.h"
#include "windowing/Win32Types.h"
#include "windowing/core/DirtyMarking.h"
#include "windowing/core/WindowInterfaces.h"

// The progress bar ("msctls_progress32"): it answers the progress messages itself.

inline constexpr UINT PBM_SETRANGE = 0x0401;
inline constexpr UINT PBM_SETPOS = 0x0402;
inline constexpr UINT PBM_DELTAPOS = 0x0403;

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
