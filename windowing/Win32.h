#pragma once

// The Win32-style interface of the windowing layer, whole: every function, type and
// constant a program uses. Programs include this header only; the rooms' own headers
// are the layer's business.

#include "windowing/Win32Types.h"

#include "windowing/app/ApiLookup.h"
#include "windowing/app/AppStub.h"
#include "windowing/controls/ControlFactories.h"
#include "windowing/controls/ControlMessages.h"
#include "windowing/core/Capture.h"
#include "windowing/core/Clipboard.h"
#include "windowing/core/DefWindowProc.h"
#include "windowing/core/DragOut.h"
#include "windowing/core/DropFiles.h"
#include "windowing/core/MessageQueue.h"
#include "windowing/core/MessageWords.h"
#include "windowing/core/Painting.h"
#include "windowing/core/RunLoopControl.h"
#include "windowing/core/SendMessage.h"
#include "windowing/core/Timers.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowMenus.h"
#include "windowing/core/WindowProperties.h"
#include "windowing/dialogs/DialogFromList.h"
#include "windowing/dialogs/DialogResources.h"
#include "windowing/drawing/Bitmaps.h"
#include "windowing/drawing/DrawingContext.h"
#include "windowing/drawing/DrawingTypes.h"
#include "windowing/drawing/Shapes.h"
#include "windowing/drawing/Text.h"
#include "windowing/drawing/WindowContexts.h"
#include "windowing/ini/IniFile.h"
#include "windowing/kernel/Kernel.h"
#include "windowing/kernel/OsVersion.h"
#include "windowing/menus/Menus.h"
