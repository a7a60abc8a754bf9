// Linked into every program the project builds (tests, benchmarks, examples). fontconfig loses a
// block while parsing its configuration files, once per process; the leak checker of a sanitizer
// build would fail every program that touches fonts on that alone.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
