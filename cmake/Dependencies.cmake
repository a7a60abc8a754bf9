# System libraries, all from Debian packages installed by scripts/setup.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo cairo-ft)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
pkg_check_modules(RSVG REQUIRED IMPORTED_TARGET librsvg-2.0)
pkg_check_modules(HARFBUZZ REQUIRED IMPORTED_TARGET harfbuzz)
pkg_check_modules(EGL REQUIRED IMPORTED_TARGET egl)
pkg_check_modules(GL REQUIRED IMPORTED_TARGET gl)

# stb is header-only; Debian installs it under /usr/include/stb.
find_path(STB_INCLUDE_DIR stb_image.h PATH_SUFFIXES stb REQUIRED)
add_library(stb INTERFACE)
target_include_directories(stb SYSTEM INTERFACE ${STB_INCLUDE_DIR})

if(BUILD_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()
if(BUILD_BENCHMARKS)
  find_package(benchmark REQUIRED)
endif()

# The X11 display backend: Xlib with MIT-SHM and RandR, keys through xkbcommon on the
# connection's xcb side.
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11 x11-xcb xext xrandr xrender xkbcommon
                  xkbcommon-x11)
