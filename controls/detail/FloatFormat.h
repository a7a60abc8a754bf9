#pragma once

namespace iplug {
namespace igraphics {

// True when fmt holds exactly one printf conversion and it is a floating-point one (f, F, e, E,
// g, G, a, A; optional flags, a width and precision of at most two digits each, no '*', no
// length modifier but 'l'), the rest being literal text and "%%": a format the number box may
// hand its one double to.
bool IsSingleFloatFormat(const char* fmt);

}  // namespace igraphics
}  // namespace iplug
