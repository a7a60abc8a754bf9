#include "platform/core/Button.h"
#include "windowing/controls/ControlMessages.h"
#include "windowing/core/ButtonCheckState.h"
#include "windowing/core/ControlButton.h"
#include "windowing/drawing/DrawingContext.h"

namespace swell {

bool emulateButtonMessage(platform::NSObject* object, UINT msg, WPARAM wParam, LPARAM lParam,
                          LRESULT* result) {
  switch (msg) {
    case BM_GETCHECK: {
      auto* button = dynamic_cast<platform::NSButton*>(object);
      if (!button) return false;
      *result = buttonCheckState(button);
      return true;
    }
    case BM_SETCHECK: {
      auto* button = dynamic_cast<platform::NSButton*>(object);
      if (!button) return false;
      setButtonCheckState(button, wParam);
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
      if (platform::NSObject* image = bitmapImage(bitmap)) {
        button->setImage(image);
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
