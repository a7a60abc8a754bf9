#include "framework/IPlugParameter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "base/Finite.h"
#include "base/Log.h"

namespace iplug {

namespace {

constexpr int kMaxDisplayPrecision = 6;
// Decimals of a double whose step says nothing (unstepped, or no positive step).
constexpr int kDefaultDisplayPrecision = 2;

// Values closer than this (relative to their size) count as the same value when looking up
// display texts, so that 0.1 * 3 finds the text given for 0.3.
constexpr double kDisplayTextTolerance = 1e-9;

bool SameValue(double a, double b) {
  return std::fabs(a - b) <= kDisplayTextTolerance * std::max(1.0, std::fabs(b));
}

// The fewest decimals (up to kMaxDisplayPrecision) that show every multiple of step exactly.
int PrecisionForStep(double step) {
  if (!(step > 0.0) || !std::isfinite(step)) return kDefaultDisplayPrecision;
  double scaled = step;
  for (int decimals = 0; decimals < kMaxDisplayPrecision; ++decimals) {
    if (std::fabs(scaled - std::round(scaled)) <= 1e-9 * std::max(1.0, scaled)) return decimals;
    scaled *= 10.0;
  }
  return kMaxDisplayPrecision;
}

void Diagnose(const char* name, const char* problem) {
  base::warn("iplug", "parameter \"%s\": %s", name ? name : "", problem);
}

// Drops the sign of a formatted number that shows as zero ("-0", "-0.00").
void DropNegativeZero(char* text) {
  if (text[0] != '-') return;
  for (const char* c = text + 1; *c; ++c) {
    if (*c != '0' && *c != '.') return;
  }
  std::memmove(text, text + 1, std::strlen(text));
}

}  // namespace

std::unique_ptr<IParam::Shape> IParam::ShapeLinear::Clone() const {
  return std::make_unique<ShapeLinear>(*this);
}

double IParam::ShapeLinear::NormalizedToValue(double normalized, const IParam& param) const {
  const double range = param.GetRange();
  if (std::isfinite(range)) return param.GetMin() + normalized * range;
  // A range wider than a double holds (from near the lowest to near the highest double) is
  // mixed from its ends, which are finite.
  return (1.0 - normalized) * param.GetMin() + normalized * param.GetMax();
}

double IParam::ShapeLinear::ValueToNormalized(double value, const IParam& param) const {
  const double range = param.GetRange();
  // An empty range has one value; it sits at 0 rather than dividing by zero.
  if (!(range > 0.0)) return 0.0;
  if (std::isfinite(range)) return (value - param.GetMin()) / range;
  // Halved, the width of any range of finite ends is finite.
  return (0.5 * value - 0.5 * param.GetMin()) / (0.5 * param.GetMax() - 0.5 * param.GetMin());
}

IParam::IParam() : mShape(std::make_unique<ShapeLinear>()) {}

IParam::IParam(const IParam& other)
    : mType(other.mType),
      mValue(other.mValue),
      mMin(other.mMin),
      mMax(other.mMax),
      mStep(other.mStep),
      mDefault(other.mDefault),
      mFlags(other.mFlags),
      mDisplayPrecision(other.mDisplayPrecision),
      mName(other.mName),
      mLabel(other.mLabel),
      mGroup(other.mGroup),
      mShape(other.mShape->Clone()),
      mDisplayTexts(other.mDisplayTexts) {}

IParam& IParam::operator=(const IParam& other) {
  if (this == &other) return *this;
  mShape = other.mShape->Clone();
  mType = other.mType;
  mValue = other.mValue;
  mMin = other.mMin;
  mMax = other.mMax;
  mStep = other.mStep;
  mDefault = other.mDefault;
  mFlags = other.mFlags;
  mDisplayPrecision = other.mDisplayPrecision;
  mName = other.mName;
  mLabel = other.mLabel;
  mGroup = other.mGroup;
  mDisplayTexts = other.mDisplayTexts;
  return *this;
}

IParam::~IParam() = default;

void IParam::Init(EParamType type, const char* name, double defaultVal, double minVal,
                  double maxVal, double step, const char* label, int flags, const char* group,
                  const Shape& shape) {
  mName = name ? name : "";
  mLabel = label ? label : "";
  mGroup = group ? group : "";
  mType = type;
  if (!base::isFinite(minVal, maxVal)) {
    Diagnose(name, "range is not finite; using 0..1");
    minVal = 0.0;
    maxVal = 1.0;
  }
  if (minVal > maxVal) {
    Diagnose(name, "minimum above maximum; swapping them");
    std::swap(minVal, maxVal);
  }
  mMin = minVal;
  mMax = maxVal;
  mStep = std::isfinite(step) ? step : 0.0;
  mFlags = flags;
  // Whole-number types only ever hold whole numbers.
  if (type == kTypeBool || type == kTypeInt || type == kTypeEnum) {
    mStep = 1.0;
    mFlags |= kFlagStepped;
  }
  mShape = shape.Clone();
  mDisplayTexts.clear();
  mDisplayPrecision = type == kTypeDouble ? PrecisionForStep(mStep) : 0;
  mDefault = Constrain(defaultVal);
  mValue = mDefault;
}

void IParam::InitBool(const char* name, bool defaultValue, const char* label, int flags,
                      const char* group, const char* offText, const char* onText) {
  Init(kTypeBool, name, defaultValue ? 1.0 : 0.0, 0.0, 1.0, 1.0, label, flags, group);
  if (offText && *offText) SetDisplayText(0.0, offText);
  if (onText && *onText) SetDisplayText(1.0, onText);
}

void IParam::InitEnum(const char* name, int defaultValue, int nEnums, const char* label, int flags,
                      const char* group) {
  if (nEnums < 1) {
    Diagnose(name, "an enumeration needs at least one value");
    nEnums = 1;
  }
  Init(kTypeEnum, name, defaultValue, 0.0, nEnums - 1, 1.0, label, flags, group);
}

void IParam::InitEnum(const char* name, int defaultValue, std::initializer_list<const char*> items,
                      const char* label, int flags, const char* group) {
  InitEnum(name, defaultValue, static_cast<int>(items.size()), label, flags, group);
  int value = 0;
  for (const char* item : items)
    SetDisplayText(value++, item);
}

void IParam::InitInt(const char* name, int defaultValue, int minVal, int maxVal, const char* label,
                     int flags, const char* group) {
  Init(kTypeInt, name, defaultValue, minVal, maxVal, 1.0, label, flags, group);
}

void IParam::InitDouble(const char* name, double defaultVal, double minVal, double maxVal,
                        double step, const char* label, int flags, const char* group,
                        const Shape& shape) {
  Init(kTypeDouble, name, defaultVal, minVal, maxVal, step, label, flags, group, shape);
}

bool IParam::GetStepped() const {
  return (mFlags & kFlagStepped) != 0 && mStep > 0.0;
}

double IParam::RoundToStep(double value) const {
  if (!GetStepped()) return value;
  const double steps = std::round(value / mStep);
  // A step far below the value's size would overflow the count of steps; keep the value then.
  return std::isfinite(steps) ? steps * mStep : value;
}

double IParam::Clamp(double value) const {
  if (std::isnan(value)) return mMin;
  return std::min(mMax, std::max(mMin, value));
}

double IParam::Constrain(double value) const {
  if (std::isnan(value)) return mMin;
  return Clamp(RoundToStep(value));
}

double IParam::ToNormalized(double value) const {
  const double normalized = mShape->ValueToNormalized(Constrain(value), *this);
  if (std::isnan(normalized)) return 0.0;
  return std::min(1.0, std::max(0.0, normalized));
}

double IParam::FromNormalized(double normalized) const {
  if (std::isnan(normalized)) return mMin;
  const double value = mShape->NormalizedToValue(normalized, *this);
  return std::isnan(value) ? mMin : value;
}

double IParam::GetMin(bool normalized) const {
  return normalized ? ToNormalized(mMin) : mMin;
}

double IParam::GetMax(bool normalized) const {
  return normalized ? ToNormalized(mMax) : mMax;
}

double IParam::GetStep(bool normalized) const {
  if (!normalized) return mStep;
  const double range = GetRange();
  return range > 0.0 ? mStep / range : 0.0;
}

double IParam::GetDefault(bool normalized) const {
  return normalized ? ToNormalized(mDefault) : mDefault;
}

void IParam::GetDisplay(double value, bool normalized, WDL_String& out,
                        bool withDisplayText) const {
  if (normalized) value = FromNormalized(value);
  value = Constrain(value);
  if (withDisplayText) {
    if (const DisplayText* displayText = FindDisplayText(value)) {
      out.Set(displayText->text.c_str());
      return;
    }
  }
  // Enough room for any double printed with %f (up to 309 integer digits) and the decimals.
  char number[400];
  const int decimals = mType == kTypeDouble ? mDisplayPrecision : 0;
  std::snprintf(number, sizeof(number), "%.*f", decimals, value);
  DropNegativeZero(number);
  out.Set(number);
}

const IParam::DisplayText* IParam::FindDisplayText(double value) const {
  for (const DisplayText& displayText : mDisplayTexts) {
    if (SameValue(value, displayText.value)) return &displayText;
  }
  return nullptr;
}

const char* IParam::GetDisplayText(double value) const {
  const DisplayText* displayText = FindDisplayText(value);
  return displayText ? displayText->text.c_str() : "";
}

const char* IParam::GetCurrentDisplayText() const {
  // Truncated as a double: a value beyond int's range cannot be cast to int safely.
  const char* text = GetDisplayText(std::trunc(mValue));
  return *text ? "" : GetLabel();
}

const char* IParam::GetDisplayTextAtIdx(int idx, double* value) const {
  if (idx < 0 || idx >= NDisplayTexts()) return nullptr;
  const DisplayText& displayText = mDisplayTexts[static_cast<size_t>(idx)];
  if (value) *value = displayText.value;
  return displayText.text.c_str();
}

void IParam::SetDisplayText(double value, const char* text) {
  if (std::isnan(value)) return;
  const char* newText = text ? text : "";
  auto it = std::lower_bound(
      mDisplayTexts.begin(), mDisplayTexts.end(), value,
      [](const DisplayText& displayText, double v) { return displayText.value < v; });
  if (it != mDisplayTexts.end() && SameValue(value, it->value)) {
    it->text = newText;
  } else if (it != mDisplayTexts.begin() && SameValue(value, std::prev(it)->value)) {
    std::prev(it)->text = newText;
  } else {
    mDisplayTexts.insert(it, DisplayText{value, newText});
  }
}

bool IParam::MapDisplayText(const char* text, double* value) const {
  if (!text) return false;
  for (const DisplayText& displayText : mDisplayTexts) {
    if (displayText.text == text) {
      if (value) *value = displayText.value;
      return true;
    }
  }
  return false;
}

double IParam::StringToValue(const char* text) const {
  double value = 0.0;
  if (!MapDisplayText(text, &value)) value = text ? std::strtod(text, nullptr) : 0.0;
  return Constrain(value);
}

}  // namespace iplug
