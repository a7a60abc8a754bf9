#pragma once

// The graphics core: the graphics context with its drawing form (IGraphicsNanoVG) and its
// desktop form (IGraphicsMac), the editor delegate that owns one while its window is open
// (IGEditorDelegate), the record types (IRECT, IColor, IText, IPattern, IBlend, IBitmap, ISVG,
// IVStyle...), the control base (IControl), the popup-menu model (IPopupMenu), and the bases of
// the popup-menu, text-entry and value-bubble controls with the factories that install them. A
// program that uses the graphics core includes this header; the core's other headers are its
// own business. It reaches none of Cairo's, FreeType's or fontconfig's headers.

#include "graphics/IBubbleControlBase.h"
#include "graphics/IControl.h"
#include "graphics/IGEditorDelegate.h"
#include "graphics/IGraphics.h"
#include "graphics/IGraphicsMac.h"
#include "graphics/IGraphicsNanoVG.h"
#include "graphics/IGraphicsStructs.h"
#include "graphics/IPopupMenu.h"
#include "graphics/IPopupMenuControlBase.h"
#include "graphics/ITextEntryControlBase.h"
