// Linked into every program the project builds (tests, benchmarks, examples). fontconfig loses a
// block while parsing its configuration files, once per process; the leak checker of a sanitizer
// build would fail every program that touches fonts on that alone. The JACK client library
// loses its metadata database's environment (Berkeley DB) when another process is creating it
// at the same moment, as programs and tests that start JACK clients side by side do.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:libdb-5.3.so\n";
}
