#include "platform/Button.h"
#include "windowing/ControlButton.h"
#include "windowing/ControlMessages.h"
#include "windowing/DrawingContext.h"

namespace swell {

bool emulateButtonMessage(platform::NSObject* object, UINT msg, WPARAM wParam, LPARAM lParam,
                          LRESULT* result) {
  switch (msg) {
    case BM_GETCHECK: {
      auto* button = dynamic_cast<platform::NSButton*>(object);
      if (!button) return false;
      int state = button->state();
      *result = state == platform::NSControlStateValueMixed ? BST_INDETERMINATE
                : state == platform::NSControlStateValueOff ? BST_UNCHECKED
                                                            : BST_CHECKED;
      return true;
    }
    case BM_SETCHECK: {
      auto* button = dynamic_cast<platform::NSButton*>(object);
      if (!button) return false;
      if (wParam & 2) {
        // The mixed state needs the button to allow it.
        button->setAllowsMixedState(true);
        button->setState(platform::NSControlStateValueMixed);
      } else {
        button->setState((wParam & 1) ? platform::NSControlStateValueOn
                                      : platform::NSControlStateValueOff);
      }
      *result = 0;
      return true;
    }
    case BM_GETIMAGE: {
      auto* button = dynamic_cast<Swell_vCorvaneBrisko_button*>(object);
      if (!button) return false;
      *result = wParam > IMAGE_ICON ? 0 : reinterpret_cast<LRESULT>(button->getSwellGDIImage());
      return true;
    }
    case BM_SETIMAGE: {
      auto* button = dynamic_cast<Swell_vCorvaneBrisko_button*>(object);
      if (!button) return false;
      if (wParam > IMAGE_ICON) {
        *result = 0;
        return true;
      }
      HGDIOBJ previous = button->getSwellGDIImage();
      auto bitmap = reinterpret_cast<HGDIOBJ>(lParam);
      // Only a live bitmap object that holds an image is shown; anything else clears.
      if (isLiveGdiObject(bitmap) && bitmap->type == kBitmapObject && bitmap->image) {
        button->setImage(bitmap->image);
        button->setSwellGDIImage(bitmap);
      } else {
        button->setImage(nullptr);
        button->setSwellGDIImage(nullptr);
      }
      *result = reinterpret_cast<LRESULT>(previous);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace swell
