// Creating, showing (drawn once) and destroying the "Preferences" dialog from its resource
// (eight controls from a control list), against the same eight platform views with the same
// texts and fonts made directly in a window of the dialog's size and style, shown and drawn
// once and closed, in the same run. Before timing, each side is made once and the two
// images compared: the program fails, timing nothing, when they differ in any pixel or either
// side drew nothing over the window's background. Prints the ratio of the two (goal: within
// 1.5x).

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "bench/RatioReporter.h"
#include "host/AppResources.h"
#include "platform/core/Box.h"
#include "platform/core/Button.h"
#include "platform/core/ControlDrawing.h"
#include "platform/core/PopUpButton.h"
#include "platform/core/TextField.h"
#include "platform/core/Window.h"
#include "platform/drawing/Font.h"
#include "platform/objects/Object.h"
#include "windowing/Win32.h"

namespace {

// The dialog's look, as its factories give it at its scale of 1.5: controls in a 10-point
// system font, push and pop-up bezels of style 6.
constexpr double kControlFontSize = 10;
constexpr int kBezelStyle = 6;
constexpr unsigned kDialogStyle = platform::NSWindowStyleMaskTitled |
                                  platform::NSWindowStyleMaskClosable |
                                  platform::NSWindowStyleMaskMiniaturizable;

const char* preferencesId() {
  return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(host::kPreferencesDialogId));
}

INT_PTR quietProc(HWND, UINT, WPARAM, LPARAM) {
  return 0;
}

// The pixel value the window's background is filled with.
std::uint32_t backgroundPixel(const platform::NSColor& c) {
  cairo_surface_t* one = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(one);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(one);
  const std::uint32_t pixel = *reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(one));
  cairo_surface_destroy(one);
  return pixel;
}

// What a window shows: its backing store's pixels, row after row, and how many of them its
// views drew over its background. Empty when it has no backing store.
struct Image {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
  long drawn = 0;
};

Image imageOf(platform::NSWindow* window) {
  Image image;
  cairo_surface_t* backing = window ? window->currentBackingStore() : nullptr;
  if (!backing || cairo_image_surface_get_format(backing) != CAIRO_FORMAT_ARGB32) return image;
  cairo_surface_flush(backing);
  const std::uint32_t background = backgroundPixel(window->backgroundColor());
  const unsigned char* data = cairo_image_surface_get_data(backing);
  const int stride = cairo_image_surface_get_stride(backing);
  image.width = cairo_image_surface_get_width(backing);
  image.height = cairo_image_surface_get_height(backing);
  for (int y = 0; y < image.height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<long>(y) * stride);
    image.pixels.insert(image.pixels.end(), row, row + image.width);
  }
  for (std::uint32_t pixel : image.pixels)
    image.drawn += pixel != background;
  return image;
}

// Makes the dialog from its resource and shows it, drawn once as a shown dialog is.
HWND makeDialog() {
  HWND view = SWELL_CreateDialog(SWELL_DialogResourceHead, preferencesId(), nullptr, quietProc, 0);
  if (!view) return nullptr;
  ShowWindow(view, SW_SHOWNA);
  UpdateWindow(view);
  return view;
}

// The dialog's content view: y runs down from its top.
class FlippedView : public platform::NSView {
 public:
  using NSView::NSView;
  bool isFlipped() const override { return true; }
};

// A group box as the dialog draws one: a grey frame with its title cut into the top edge.
class TitledBox : public platform::NSBox {
 public:
  using NSBox::NSBox;
  void drawRect(const platform::NSRect&) override {
    namespace look = platform::controldrawing;
    look::topDown(this, [&](platform::CGContext* cg) {
      const platform::NSFont font = platform::NSFont::systemFontOfSize(kControlFontSize);
      const platform::NSSize text = font.sizeOfString(title());
      const platform::NSSize size = bounds().size;
      look::strokeRect(cg,
                       platform::NSMakeRect(0.5, text.height / 2 + 0.5, size.width - 1,
                                            size.height - text.height / 2 - 1),
                       platform::NSColor::colorWithRGBA(0.6, 0.6, 0.6, 1));
      const platform::NSRect label = platform::NSMakeRect(8, 0, text.width + 6, text.height);
      look::fillRect(cg, label, platform::NSColor::windowBackgroundColor());
      look::drawText(cg, title(), label, font, titleColor(), platform::NSTextAlignmentCenter);
    });
  }
};

template <class View>
View* add(platform::NSView* content, const platform::NSRect& frame) {
  auto* view = new View(frame);
  content->addSubview(view);
  view->release();
  return view;
}

platform::NSButton* addButton(platform::NSView* content, const platform::NSRect& frame,
                              const char* title) {
  auto* button = add<platform::NSButton>(content, frame);
  button->setButtonType(platform::NSButtonTypeMomentaryPushIn);
  button->setFont(platform::NSFont::systemFontOfSize(kControlFontSize));
  button->setBezelStyle(kBezelStyle);
  button->setTitle(title);
  return button;
}

void addLabel(platform::NSView* content, const platform::NSRect& frame, const char* text) {
  auto* label = add<platform::NSTextField>(content, frame);
  label->setEditable(false);
  label->setSelectable(false);
  label->setBordered(false);
  label->setBezeled(false);
  label->setDrawsBackground(false);
  label->setFont(platform::NSFont::systemFontOfSize(kControlFontSize));
  label->setStringValue(text);
  label->setAlignment(platform::NSTextAlignmentLeft);
}

void addPopUp(platform::NSView* content, const platform::NSRect& frame) {
  auto* popup = add<platform::NSPopUpButton>(content, frame);
  popup->setFont(platform::NSFont::systemFontOfSize(kControlFontSize));
  popup->setAutoenablesItems(false);
  popup->setBezelStyle(kBezelStyle);
}

// The dialog's eight views, texts and frames made directly in a window of its size and
// style, shown and drawn once.
platform::NSWindow* makeWindow(double width, double height) {
  using platform::NSMakeRect;
  auto* window = new platform::NSWindow(NSMakeRect(0, 0, width, height), kDialogStyle);
  auto* content = new FlippedView(NSMakeRect(0, 0, width, height));
  window->setContentView(content);
  content->release();
  add<TitledBox>(content, NSMakeRect(11, 9, 315, 140))->setTitle("MIDI Device Settings");
  window->setDefaultButtonCell(addButton(content, NSMakeRect(165, 158, 75, 21), "OK"));
  addButton(content, NSMakeRect(248, 158, 75, 21), "Apply");
  addButton(content, NSMakeRect(330, 158, 75, 21), "Cancel");
  addLabel(content, NSMakeRect(23, 90, 120, 15), "Output Device");
  addLabel(content, NSMakeRect(23, 45, 120, 15), "Input Device");
  addPopUp(content, NSMakeRect(23, 105, 270, 18));
  addPopUp(content, NSMakeRect(23, 60, 270, 18));
  window->orderFront();
  window->display();
  return window;
}

// The size the dialog's resource gives its window; none when it is not registered.
std::optional<platform::NSSize> dialogSize() {
  const SWELL_DialogResourceIndex* resource =
      SWELL_FindDialogResource(SWELL_DialogResourceHead, preferencesId());
  if (!resource) return std::nullopt;
  return platform::NSSize{static_cast<double>(resource->width),
                          static_cast<double>(resource->height)};
}

// Makes each side once and compares what they show; says how they differ and returns false
// when they do, or when either drew nothing over its background.
bool sameImages() {
  host::RegisterAppResources();
  const std::optional<platform::NSSize> size = dialogSize();
  HWND dialog = size ? makeDialog() : nullptr;
  if (!dialog) {
    std::fprintf(stderr, "preferences_bench: the dialog could not be made\n");
    return false;
  }
  auto* content = platform::liveObjectAs<platform::NSView>(dialog);
  const Image fromResource = imageOf(content ? content->window() : nullptr);
  DestroyWindow(dialog);
  platform::NSWindow* window = makeWindow(size->width, size->height);
  const Image direct = imageOf(window);
  window->close();
  if (fromResource.drawn == 0 || direct.drawn == 0) {
    std::fprintf(stderr, "preferences_bench: %s drew nothing over its background\n",
                 fromResource.drawn == 0 ? "the dialog" : "the window of views");
    return false;
  }
  if (fromResource.width != direct.width || fromResource.height != direct.height) {
    std::fprintf(stderr, "preferences_bench: the dialog shows %d x %d pixels, the window %d x %d\n",
                 fromResource.width, fromResource.height, direct.width, direct.height);
    return false;
  }
  long differ = 0;
  for (std::size_t i = 0; i < direct.pixels.size(); ++i)
    differ += fromResource.pixels[i] != direct.pixels[i];
  std::printf("the two images: %ld of %zu pixels differ (%ld and %ld drawn over the background)\n",
              differ, direct.pixels.size(), fromResource.drawn, direct.drawn);
  return differ == 0;
}

void BM_PreferencesFromResource(benchmark::State& state) {
  for (auto _ : state) {
    HWND view = makeDialog();
    if (!view) {
      state.SkipWithError("the dialog could not be made");
      return;
    }
    DestroyWindow(view);
  }
}

void BM_WindowWithEightViews(benchmark::State& state) {
  const std::optional<platform::NSSize> size = dialogSize();
  if (!size) {
    state.SkipWithError("the dialog's resource is not registered");
    return;
  }
  for (auto _ : state)
    makeWindow(size->width, size->height)->close();
}

BENCHMARK(BM_PreferencesFromResource)->MinTime(0.3);
BENCHMARK(BM_WindowWithEightViews)->MinTime(0.3);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const std::string ratio = "Preferences from its resource / eight views in a window of its size";
  constexpr double kGoal = 1.5;
  if (!sameImages()) {
    std::printf("%s\n", RatioLine(ratio, {}, kGoal).c_str());
    return 1;
  }
  // Both sides run on this thread alone: its processor time stays steady while other work
  // on the machine stretches the wall time of either.
  RatioReporter reporter(RatioReporter::Clock::Processor);
  reporter.Goal(ratio, {"BM_PreferencesFromResource/min_time:0.300"},
                {"BM_WindowWithEightViews/min_time:0.300"}, kGoal);
  const int missing = reporter.RunAndReport(argc, argv);
  benchmark::Shutdown();
  return missing ? 1 : 0;
}
