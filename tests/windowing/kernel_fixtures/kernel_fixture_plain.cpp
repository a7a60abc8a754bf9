// A library without entry points.

extern "C" __attribute__((visibility("default"))) int kernelFixtureTimesTwo(int a) {
  return 2 * a;
}
