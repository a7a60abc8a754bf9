#include <string>

#include "platform/objects/ClassRegistry.h"
#include "support/EventTest.h"
#include "windowing/Win32.h"

using testsupport::EventTest;

namespace {

using HostViewTest = EventTest;

TEST_F(HostViewTest, AHostViewIsAnEmptyChildWithNoHostedWindow) {
  RECT r{10, 10, 110, 60};
  void* windowRef = &r;
  HWND host = SWELL_CreateCarbonHostView(main, &windowRef, &r, true);
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(windowRef, nullptr);
  EXPECT_EQ(SWELL_GetCarbonHostWindowRef(host), nullptr);
  EXPECT_EQ(GetParent(host), main);
  EXPECT_FALSE(view(host)->isOpaque());
  SWELL_CarbonHostNoOp();
  EXPECT_EQ(SWELL_CreateCarbonHostView(main, nullptr, &r, true), nullptr);
  EXPECT_EQ(SWELL_CreateCarbonHostView(main, &windowRef, nullptr, true), nullptr);
  EXPECT_EQ(SWELL_CreateCarbonHostView(nullptr, &windowRef, &r, true), nullptr);
  DestroyWindow(host);
  EXPECT_FALSE(IsWindow(host));
}

TEST_F(HostViewTest, FlipsOnlyWindowViews) {
  HWND c = child(main, 0, 0, 50, 50);
  SWELL_SetViewFlip(c, false);
  EXPECT_FALSE(view(c)->isFlipped());
  SWELL_SetViewFlip(c, true);
  EXPECT_TRUE(view(c)->isFlipped());
  int notAView = 0;
  SWELL_SetViewFlip(reinterpret_cast<HWND>(&notAView), true);
  SWELL_SetViewFlip(nullptr, true);
}

// View factories as a plug-in registers them: one making a view of a fixed size, one
// making none, and a class that makes no views at all.
struct FixedSizeFactory : platform::NSObject, platform::NSAudioUnitViewFactory {
  static void* lastUnit;
  platform::NSView* uiViewForAudioUnit(void* unit, platform::NSSize) override {
    lastUnit = unit;
    return new platform::NSView(platform::NSMakeRect(0, 0, 120, 80));
  }
};
void* FixedSizeFactory::lastUnit = nullptr;
struct NoViewFactory : platform::NSObject, platform::NSAudioUnitViewFactory {
  platform::NSView* uiViewForAudioUnit(void*, platform::NSSize) override { return nullptr; }
};

TEST_F(HostViewTest, PlugInViewsComeFromTheRegisteredFactory) {
  platform::NSRegisterClass("FixedSizeFactory",
                            []() -> platform::NSObject* { return new FixedSizeFactory; });
  platform::NSRegisterClass("NoViewFactory",
                            []() -> platform::NSObject* { return new NoViewFactory; });
  platform::NSRegisterClass("PlainObject", [] { return new platform::NSObject; });
  HWND parent = child(main, 0, 0, 300, 200);
  int unit = 0;
  struct Case {
    const char* bundle;
    const char* className;
    bool hosted;
  };
  const Case cases[] = {
      {nullptr, "FixedSizeFactory", true},
      {"", "FixedSizeFactory", true},
      {nullptr, "NoViewFactory", false},
      {nullptr, "PlainObject", false},
      {nullptr, "Unregistered", false},
      {nullptr, nullptr, false},
      {"/nonexistent/Plug.bundle", "FixedSizeFactory", false},
  };
  for (const auto& c : cases) {
    RECT r{0, 0, 400, 300};
    SWELL_AudioUnitCocoaViewInfo info{c.bundle, c.className};
    HWND hosted = SWELL_HostAUCocoaView(parent, &unit, &info, &r);
    std::string which = c.className ? c.className : "(null)";
    EXPECT_EQ(hosted != nullptr, c.hosted) << which;
    if (!hosted) continue;
    EXPECT_EQ(FixedSizeFactory::lastUnit, &unit);
    EXPECT_EQ(r.right, 120);
    EXPECT_EQ(r.bottom, 80);
    EXPECT_EQ(view(hosted)->superview(), view(parent));
    RECT client{};
    GetClientRect(parent, &client);
    EXPECT_EQ(client.right, 120) << which;
  }
  for (const char* name : {"FixedSizeFactory", "NoViewFactory", "PlainObject"})
    platform::NSRegisterClass(name, nullptr);
}

}  // namespace
