#pragma once

// The plain value records of the graphics core: rectangles, colours, blends, patterns, text
// styles, mouse modifiers, vector styles and resource handles, one header each.

#include "graphics/IBitmap.h"
#include "graphics/IBlend.h"
#include "graphics/IColor.h"
#include "graphics/IGestureInfo.h"
#include "graphics/IGraphicsConstants.h"
#include "graphics/IMouseMod.h"
#include "graphics/IPathOptions.h"
#include "graphics/IPattern.h"
#include "graphics/IRECT.h"
#include "graphics/IRECTList.h"
#include "graphics/ISVG.h"
#include "graphics/IText.h"
#include "graphics/IVStyle.h"
