#include "windowing/core/DragOut.h"
#include "windowing/core/detail/TestHooks.h"

namespace {
struct DragOutState {
  std::string sourcePath;
  SWELL_DragOutWriter writer = nullptr;
  bool active = false;
};

DragOutState& state() {
  static DragOutState* s = new DragOutState;
  return *s;
}
}  // namespace

void SWELL_FinishDragDrop() {
  DragOutState& s = state();
  s.sourcePath.clear();
  s.writer = nullptr;
  s.active = false;
}

namespace swell {

void setDragOutState(const char* sourcePath, SWELL_DragOutWriter writer) {
  DragOutState& s = state();
  s.sourcePath = sourcePath ? sourcePath : "";
  s.writer = writer;
  s.active = sourcePath != nullptr;
}

bool hasDragOutState() {
  return state().active;
}

std::string dragOutSourcePath() {
  return state().sourcePath;
}

SWELL_DragOutWriter dragOutWriter() {
  return state().writer;
}

}  // namespace swell
