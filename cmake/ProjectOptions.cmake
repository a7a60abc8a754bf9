# Compiler options shared by every target of the project.
add_library(project_options INTERFACE)
target_compile_options(project_options INTERFACE
  # Shadowed locals are GCC's check alone: clang's -Wshadow covers every enclosing scope.
  -Wall -Wextra -Wimplicit-fallthrough $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local>
  -Wpedantic -Wcast-qual -Wno-unused-parameter
  $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor -Woverloaded-virtual -Wextra-semi>)
if(WARNINGS_AS_ERRORS)
  target_compile_options(project_options INTERFACE -Werror)
endif()

# The standard library checks indexes, iterators and preconditions in debug builds.
add_compile_definitions($<$<CONFIG:Debug>:_GLIBCXX_ASSERTIONS>)

if(ENABLE_SANITIZERS)
  # float-cast-overflow is not part of -fsanitize=undefined in GCC; out-of-range float to int
  # conversions are exactly the faults that bad coordinates cause.
  set(SANITIZER_FLAGS -fsanitize=address,undefined,float-cast-overflow -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined,float-cast-overflow)
  add_compile_options(${SANITIZER_FLAGS})
  add_link_options(${SANITIZER_FLAGS})
endif()

if(ENABLE_THREAD_SANITIZER)
  if(ENABLE_SANITIZERS)
    message(FATAL_ERROR "ThreadSanitizer cannot be combined with AddressSanitizer")
  endif()
  set(THREAD_SANITIZER_FLAGS -fsanitize=thread -fno-omit-frame-pointer)
  add_compile_options(${THREAD_SANITIZER_FLAGS})
  add_link_options(${THREAD_SANITIZER_FLAGS})
endif()

if(BUILD_FUZZERS)
  # Everything a fuzz target links is instrumented for coverage and checked by the sanitizers;
  # the fuzz targets add libFuzzer's main.
  set(FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                 -fno-omit-frame-pointer)
  add_compile_options(${FUZZ_FLAGS})
  add_link_options(-fsanitize=address,undefined)
endif()

# Adds a static library for one module from every source file in its folder. Every library
# but `base` itself stands on `base`.
function(add_module_library name)
  file(GLOB_RECURSE _sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  add_library(${name} STATIC ${_sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE project_options)
  if(NOT name STREQUAL "base")
    target_link_libraries(${name} PUBLIC base)
  endif()
endfunction()
