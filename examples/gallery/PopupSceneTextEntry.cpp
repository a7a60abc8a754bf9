// The text entry in progress of the second picture: the gain caption's value prompt, opened
// while the menu shows.

#include "PopupScene.h"

namespace gallery {

void PopupScene::StartTextEntry() {
  mEntryCaption->PromptUserInput(mEntryCaption->GetRECT(), 0);
}

}  // namespace gallery
