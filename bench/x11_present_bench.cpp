// Presenting a window's whole backing store through the X11 backend, against the raw
// XShmPutImage of the same pixels (XPutImage when the server has no MIT-SHM), each
// followed by XSync, on an Xvfb of the program's own (goal: at most 1.2x at every size).
// The raw put asks for the server's completion event and takes it, as the backend must:
// the event says when the server has read the shared pixels, so the next display pass
// may draw over them.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdio>
#include <vector>

#include "bench/RatioReporter.h"
#include "platform/core/Application.h"
#include "platform/core/DisplaySwitch.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "platform/x11/detail/X11Backend.h"
#include "testbed/XvfbServer.h"

namespace {

using platform::NSMakeRect;

platform::x11::X11Backend* gBackend = nullptr;

constexpr int kSizes[][2] = {{400, 300}, {800, 600}, {1600, 1000}};
// Presenting may cost at most this much more than the raw put, at every size.
constexpr double kGoal = 1.2;

// A shown window of the size whose backing store was drawn once.
platform::NSWindow* windowOfSize(int width, int height) {
  auto* w = new platform::NSWindow(NSMakeRect(0, 0, width, height),
                                   platform::NSWindowStyleMaskBorderless);
  w->setContentView(new platform::NSView(NSMakeRect(0, 0, width, height)));
  w->orderFront();
  w->display();
  Display* d = gBackend->display();
  // Until the server maps it, nothing is presented.
  for (int i = 0; i < 1000; ++i) {
    gBackend->processEvents();
    XWindowAttributes a;
    XGetWindowAttributes(d, gBackend->xWindowOf(w), &a);
    if (a.map_state == IsViewable) break;
    XSync(d, False);
  }
  gBackend->processEvents();
  return w;
}

void BM_PresentBackingStore(benchmark::State& state) {
  int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  platform::NSWindow* w = windowOfSize(width, height);
  Display* d = gBackend->display();
  for (auto _ : state) {
    gBackend->willDrawWindow(w);
    gBackend->presentWindow(w, NSMakeRect(0, 0, width, height));
    XSync(d, False);
  }
  w->close();
}

void BM_RawPutImage(benchmark::State& state) {
  unsigned width = static_cast<unsigned>(state.range(0));
  unsigned height = static_cast<unsigned>(state.range(1));
  Display* d = gBackend->display();
  int screen = DefaultScreen(d);
  XVisualInfo info;
  XMatchVisualInfo(d, screen, 24, TrueColor, &info);
  XSetWindowAttributes a{};
  a.colormap = XCreateColormap(d, RootWindow(d, screen), info.visual, AllocNone);
  Window xid = XCreateWindow(d, RootWindow(d, screen), 0, 0, width, height, 0, 24, InputOutput,
                             info.visual, CWColormap | CWBorderPixel, &a);
  XMapWindow(d, xid);
  XSync(d, False);
  GC gc = XCreateGC(d, xid, 0, nullptr);
  XShmSegmentInfo segment{};
  XImage* image = nullptr;
  std::vector<char> plain;
  if (gBackend->usesSharedMemory()) {
    image = XShmCreateImage(d, info.visual, 24, ZPixmap, nullptr, &segment, width, height);
    segment.shmid =
        shmget(IPC_PRIVATE, std::size_t(image->bytes_per_line) * height, IPC_CREAT | 0600);
    segment.shmaddr = image->data = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
    XShmAttach(d, &segment);
    XSync(d, False);
    shmctl(segment.shmid, IPC_RMID, nullptr);
  } else {
    plain.resize(std::size_t(width) * height * 4);
    image = XCreateImage(d, info.visual, 24, ZPixmap, 0, plain.data(), width, height, 32, 0);
  }
  const int completion = gBackend->usesSharedMemory() ? XShmGetEventBase(d) + ShmCompletion : -1;
  for (auto _ : state) {
    if (gBackend->usesSharedMemory())
      XShmPutImage(d, xid, gc, image, 0, 0, 0, 0, width, height, True);
    else
      XPutImage(d, xid, gc, image, 0, 0, 0, 0, width, height);
    XSync(d, False);
    XEvent done;
    if (completion >= 0) XCheckTypedWindowEvent(d, xid, completion, &done);
  }
  if (gBackend->usesSharedMemory()) {
    XShmDetach(d, &segment);
    shmdt(segment.shmaddr);
    image->obdata = nullptr;
  }
  image->data = nullptr;
  XDestroyImage(image);
  XFreeGC(d, gc);
  XDestroyWindow(d, xid);
  XFreeColormap(d, a.colormap);
  XSync(d, False);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  testbed::XvfbServer server;
  if (!server.running()) {
    std::fprintf(stderr, "x11_present_bench: %s\n", server.whyNot().c_str());
    return 0;
  }
  auto backend = platform::x11::X11Backend::connect(server.display().c_str());
  if (!backend) {
    std::fprintf(stderr, "x11_present_bench: the X11 backend did not connect to Xvfb\n");
    return 1;
  }
  gBackend = backend.get();
  platform::setDisplayBackend(std::move(backend));
  // Both sides mostly wait on the server: a sample lasts its given time on the clock the
  // ratio is made of, not many times that waiting for the processor time to add up.
  for (const auto& size : kSizes) {
    benchmark::RegisterBenchmark("BM_PresentBackingStore", BM_PresentBackingStore)
        ->Args({size[0], size[1]})
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("BM_RawPutImage", BM_RawPutImage)
        ->Args({size[0], size[1]})
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
  }
  RatioReporter reporter;
  for (const auto& size : kSizes) {
    const std::string args = BenchArgs({size[0], size[1]}).append("/real_time");
    reporter.Goal(std::string("present / raw ") +
                      (gBackend->usesSharedMemory() ? "XShmPutImage" : "XPutImage") + " at " +
                      std::to_string(size[0]) + "x" + std::to_string(size[1]),
                  {"BM_PresentBackingStore" + args}, {"BM_RawPutImage" + args}, kGoal);
  }
  reporter.RunAndReport(argc, argv);
  platform::setDisplayBackend(nullptr);
  benchmark::Shutdown();
  return 0;
}
