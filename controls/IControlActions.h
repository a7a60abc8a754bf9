#pragma once

// The stock actions and animation functions of controls. Each takes the control, as an action
// or an animation function does.

#include "graphics/IControl.h"

namespace iplug {
namespace igraphics {

// Length of the animation of the default and splash click actions.
inline constexpr int kClickAnimationMs = 100;
// Smallest content of the value bubble the bubble actions show.
inline const IRECT kBubbleMinimumContentBounds{0.f, 0.f, 50.f, 30.f};

// Ends the animation once its progress passes 1.
void DefaultAnimationFunc(IControl* caller);
// Grows the splash of a vector-styled control with the progress and ends it after the duration.
// On any other control it acts as DefaultAnimationFunc.
void SplashAnimationFunc(IControl* caller);

// Does nothing.
void EmptyClickActionFunc(IControl* caller);
// Runs DefaultAnimationFunc for kClickAnimationMs.
void DefaultClickActionFunc(IControl* caller);
// Starts a splash from the last mouse-down point. A control that is not vector-styled gets the
// default click action; an unattached control (no mouse-down point) nothing.
void SplashClickActionFunc(IControl* caller);

// Show the value bubble with the display text of the parameter of slot 0 (and its display
// label) to the right of the control, or above it. A control without such a parameter, or not
// attached, shows nothing.
void ShowBubbleHorizontalActionFunc(IControl* caller);
void ShowBubbleVerticalActionFunc(IControl* caller);

}  // namespace igraphics
}  // namespace iplug
