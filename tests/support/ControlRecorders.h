#pragma once

#include <string>
#include <vector>

#include "platform/core/ComboBox.h"
#include "platform/core/Menu.h"
#include "platform/core/Text.h"
#include "platform/core/TextDelegates.h"
#include "platform/core/TextView.h"

namespace testsupport {

// Target and delegate of controls under test: writes every action and callback it
// receives into one ordered log of short words ("action 7", "change", "end" ...).
class ControlRecorder : public platform::NSObject,
                        public platform::ActionTarget,
                        public platform::NSTextDelegate,
                        public platform::NSTextViewDelegate,
                        public platform::NSControlTextEditingDelegate,
                        public platform::NSComboBoxDelegate {
 public:
  void performAction(int action, platform::NSObject* sender) override {
    events.push_back("action " + std::to_string(action));
  }
  void textDidBeginEditing(platform::NSText*) override { events.push_back("text begin"); }
  void textDidChange(platform::NSText*) override { events.push_back("text change"); }
  void textDidEndEditing(platform::NSText*) override { events.push_back("text end"); }
  platform::NSMenu* textViewMenuForEvent(platform::NSTextView*, platform::NSMenu* menu,
                                         const platform::NSEvent&, long index) override {
    events.push_back("menu " + std::to_string(index));
    return refuseMenu ? nullptr : menu;
  }
  void controlTextDidBeginEditing(platform::NSControl*) override { events.push_back("begin"); }
  void controlTextDidChange(platform::NSControl* c) override {
    events.push_back("change " + c->stringValue());
  }
  void controlTextDidEndEditing(platform::NSControl* c) override {
    events.push_back("end " + c->stringValue());
  }
  void comboBoxWillPopUp(platform::NSComboBox*) override { events.push_back("pop up"); }
  void comboBoxWillDismiss(platform::NSComboBox*) override { events.push_back("dismiss"); }
  void comboBoxSelectionDidChange(platform::NSComboBox* c) override {
    events.push_back("selection " + std::to_string(c->indexOfSelectedItem()));
  }

  std::vector<std::string> take() { return std::exchange(events, {}); }

  std::vector<std::string> events;
  bool refuseMenu = false;
};

}  // namespace testsupport
