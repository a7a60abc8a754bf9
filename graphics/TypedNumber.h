#pragma once

// Reading a number that the user typed into a value prompt.

namespace iplug {
namespace igraphics {

// Reads the number text starts with (after any white space) into value; what follows it, such
// as a unit, is ignored. False, with value untouched, for a null text, text that starts with no
// number, a number that is not finite ("nan", "inf", "1e999") and a number followed by a comma
// and a digit ("0,5", "1,000"), which may be a decimal comma or a thousands separator: reading
// only the part before the comma would set a value the user never meant.
bool ParseTypedNumber(const char* text, double& value);

}  // namespace igraphics
}  // namespace iplug
