#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/WDLString.h"

namespace iplug {

// A parameter of the editor: a real value inside a range, with a type, an optional step, a
// shape that maps the range onto 0..1, a name, a unit label, a group and display texts (texts
// shown in place of particular values, such as the items of an enumeration).
//
// No NaN ever becomes a parameter's value, bound or default: a NaN value is taken as the
// minimum, a step that is not positive means "not stepped", and a range given upside down is
// put the right way round.
class IParam {
 public:
  enum EParamType { kTypeNone = 0, kTypeBool = 1, kTypeInt = 2, kTypeEnum = 3, kTypeDouble = 4 };
  enum EFlags { kFlagsNone = 0, kFlagStepped = 2 };

  // Maps a normalised value (0..1) to the parameter's real range and back.
  class Shape {
   public:
    virtual ~Shape() = default;
    virtual std::unique_ptr<Shape> Clone() const = 0;
    virtual double NormalizedToValue(double normalized, const IParam& param) const = 0;
    virtual double ValueToNormalized(double value, const IParam& param) const = 0;
  };

  // Evenly spread over the range.
  class ShapeLinear : public Shape {
   public:
    std::unique_ptr<Shape> Clone() const override;
    double NormalizedToValue(double normalized, const IParam& param) const override;
    double ValueToNormalized(double value, const IParam& param) const override;
  };

  IParam();
  IParam(const IParam& other);
  IParam& operator=(const IParam& other);
  // No move operations: a move would leave the source without a shape, so moves copy.
  ~IParam();

  // Each Init sets every property anew and the value to the default; display texts are
  // cleared. Bool, int and enum parameters are stepped with step 1.
  void InitBool(const char* name, bool defaultValue, const char* label = "", int flags = 0,
                const char* group = "", const char* offText = "off", const char* onText = "on");
  void InitEnum(const char* name, int defaultValue, int nEnums, const char* label = "",
                int flags = 0, const char* group = "");
  // The enumeration's values are 0..items-1, each with its item text as display text.
  void InitEnum(const char* name, int defaultValue, std::initializer_list<const char*> items,
                const char* label = "", int flags = 0, const char* group = "");
  void InitInt(const char* name, int defaultValue, int minVal, int maxVal, const char* label = "",
               int flags = 0, const char* group = "");
  void InitDouble(const char* name, double defaultVal, double minVal, double maxVal, double step,
                  const char* label = "", int flags = 0, const char* group = "",
                  const Shape& shape = ShapeLinear());
  // The general form the typed ones use; also makes ranges the typed ones cannot, such as an
  // enumeration whose first value is not 0.
  void Init(EParamType type, const char* name, double defaultVal, double minVal, double maxVal,
            double step, const char* label = "", int flags = 0, const char* group = "",
            const Shape& shape = ShapeLinear());

  double Value() const { return mValue; }
  // Sets the value, rounded to the step when stepped and clamped to the range.
  void Set(double value) { mValue = Constrain(value); }
  void SetNormalized(double normalized) { Set(FromNormalized(normalized)); }
  double GetNormalized() const { return ToNormalized(mValue); }

  // Real value to 0..1: rounded to the step when stepped, clamped to the range, mapped through
  // the shape and clamped to 0..1.
  double ToNormalized(double value) const;
  // 0..1 to a real value through the shape, without rounding or clamping of its own.
  double FromNormalized(double normalized) const;

  // NaN becomes the minimum; the result lies in the range.
  double Clamp(double value) const;
  // As Clamp, after rounding to the step when the parameter is stepped.
  double Constrain(double value) const;

  double GetMin(bool normalized = false) const;
  double GetMax(bool normalized = false) const;
  double GetRange() const { return mMax - mMin; }
  double GetStep(bool normalized = false) const;
  double GetDefault(bool normalized = false) const;
  EParamType Type() const { return mType; }
  int GetFlags() const { return mFlags; }
  // True when values are rounded to the step: the stepped flag is set and the step is positive.
  bool GetStepped() const;
  const char* GetName() const { return mName.c_str(); }
  const char* GetLabel() const { return mLabel.c_str(); }
  const char* GetGroup() const { return mGroup.c_str(); }
  const Shape& GetShape() const { return *mShape; }
  // Decimals shown for a double value, from the step (step 0.01 gives 2).
  int GetDisplayPrecision() const { return mDisplayPrecision; }

  // Writes the display text of value (a normalised value when normalized is set) into out: its
  // display text when it has one and withDisplayText is set, else the number.
  void GetDisplay(double value, bool normalized, WDL_String& out,
                  bool withDisplayText = true) const;
  void GetDisplay(WDL_String& out, bool withDisplayText = true) const {
    GetDisplay(mValue, false, out, withDisplayText);
  }

  // The display text of exactly this value, or "" when it has none.
  const char* GetDisplayText(double value) const;
  // Despite its name this returns the parameter's label, or "" when the current value truncated
  // to an integer has a non-empty display text: the "display label" that the controls put after
  // the value, which a value shown by its own text does not need.
  const char* GetCurrentDisplayText() const;
  int NDisplayTexts() const { return static_cast<int>(mDisplayTexts.size()); }
  // The display text at idx in value order (and its value through value), or null for an index
  // outside the list.
  const char* GetDisplayTextAtIdx(int idx, double* value = nullptr) const;
  // Gives value a display text (null counts as ""), replacing the one it had; a NaN value is
  // ignored.
  void SetDisplayText(double value, const char* text);
  // Finds the value whose display text is exactly text; false when there is none.
  bool MapDisplayText(const char* text, double* value) const;
  // Text to value: the value of a matching display text, else the number the text starts with
  // (0 when it starts with none), rounded to the step when stepped and clamped to the range.
  double StringToValue(const char* text) const;

 private:
  struct DisplayText {
    double value;
    std::string text;
  };

  double RoundToStep(double value) const;
  const DisplayText* FindDisplayText(double value) const;

  EParamType mType = kTypeNone;
  double mValue = 0.0;
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  double mDefault = 0.0;
  int mFlags = 0;
  int mDisplayPrecision = 0;
  std::string mName;
  std::string mLabel;
  std::string mGroup;
  std::unique_ptr<Shape> mShape;
  std::vector<DisplayText> mDisplayTexts;  // kept in value order
};

}  // namespace iplug
