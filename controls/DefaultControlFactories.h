#pragma once

// The graphics core builds its in-interface popup-menu and text-entry controls through
// factories, so that it does not depend on this library. A program that creates graphics
// contexts installs this library's controls once, before the first menu or text prompt.

namespace iplug {
namespace igraphics {

// Makes IPopupMenuControl and ITextEntryControl the controls every graphics context attaches
// when it shows a menu or a text entry and the platform has no native one, and IBubbleControl
// the value bubble.
void InstallDefaultControlFactories();

}  // namespace igraphics
}  // namespace iplug
