// The text entry in progress of the second picture: the gain caption's value prompt, opened
// while the menu shows, with a new value typed part way (the open menu takes only Escape, so
// the keys reach the text entry).

#include "PopupScene.h"
#include "framework/IPlugStructs.h"

namespace gallery {

void PopupScene::StartTextEntry() {
  mEntryCaption->PromptUserInput(mEntryCaption->GetRECT(), 0);
  const IRECT r = mEntryCaption->GetRECT();
  const struct {
    const char* text;
    int vk;
  } typed[] = {{"-", 0xBD}, {"6", iplug::kVK_0 + 6}, {".", 0xBE}, {"5", iplug::kVK_0 + 5}};
  for (const auto& key : typed)
    mGraphics.OnKeyDown(r.MW(), r.MH(), iplug::IKeyPress(key.text, key.vk));
}

}  // namespace gallery
