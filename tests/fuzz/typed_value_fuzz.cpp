// Feeds arbitrary bytes as the text a user typed into a value prompt, for parameters of every
// kind and shape of range. A text is either refused or gives a finite value inside the
// parameter's range that survives being shown and normalised.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "framework/IPlugParameter.h"
#include "framework/WDLString.h"
#include "graphics/TypedNumber.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

std::vector<iplug::IParam> MakeParams() {
  std::vector<iplug::IParam> params(8);
  params[0].InitEnum("enum", 1, {"Off", "Low", "Mid", "High"});
  params[1].InitBool("bool", false);
  params[2].InitInt("one value", 7, 7, 7);
  params[3].InitDouble("gain", 0., -12., 12., 0.1, "dB");
  params[4].InitDouble("stepped", 50., 0., 100., 5., "%", iplug::IParam::kFlagStepped);
  params[5].InitDouble("wide", 0., -1e300, 1e300, 0.);
  params[6].InitDouble("tiny step", 0.5, 0., 1., 1e-300, "", iplug::IParam::kFlagStepped);
  params[7].InitDouble("whole range", 0., -std::numeric_limits<double>::max(),
                       std::numeric_limits<double>::max(), 0.);
  return params;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::vector<iplug::IParam> params = MakeParams();
  const std::string text(reinterpret_cast<const char*>(data), size);

  double typed = 0.;
  const bool isNumber = iplug::igraphics::ParseTypedNumber(text.c_str(), typed);
  check(!isNumber || std::isfinite(typed));

  for (const iplug::IParam& param : params) {
    double value = 0.;
    if (!param.MapDisplayText(text.c_str(), &value)) {
      if (!isNumber) continue;
      value = param.StringToValue(text.c_str());
    }
    value = param.Constrain(value);
    check(std::isfinite(value) && value >= param.GetMin() && value <= param.GetMax());
    const double normalized = param.ToNormalized(value);
    check(normalized >= 0. && normalized <= 1.);
    const double back = param.Constrain(param.FromNormalized(normalized));
    check(std::isfinite(back) && back >= param.GetMin() && back <= param.GetMax());
    WDL_String shown;
    param.GetDisplay(value, false, shown);
    check(shown.GetLength() > 0);
  }
  return 0;
}
