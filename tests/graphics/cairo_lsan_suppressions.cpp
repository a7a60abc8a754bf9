// fontconfig loses a block while parsing its configuration files, once per process; the
// leak checker would fail every test program that touches fonts on that alone.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
