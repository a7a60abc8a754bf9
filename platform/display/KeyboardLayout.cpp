#include "platform/display/KeyboardLayout.h"

#include <mutex>

namespace platform {

namespace {

struct KeyText {
  std::uint16_t keyCode;
  char16_t text;
};

// The unshifted character of each key of a US ANSI keyboard.
constexpr KeyText kUSKeys[] = {
    {0, u'a'},   {1, u's'},  {2, u'd'},  {3, u'f'},   {4, u'h'},  {5, u'g'},   {6, u'z'},
    {7, u'x'},   {8, u'c'},  {9, u'v'},  {11, u'b'},  {12, u'q'}, {13, u'w'},  {14, u'e'},
    {15, u'r'},  {16, u'y'}, {17, u't'}, {18, u'1'},  {19, u'2'}, {20, u'3'},  {21, u'4'},
    {22, u'6'},  {23, u'5'}, {24, u'='}, {25, u'9'},  {26, u'7'}, {27, u'-'},  {28, u'8'},
    {29, u'0'},  {30, u']'}, {31, u'o'}, {32, u'u'},  {33, u'['}, {34, u'i'},  {35, u'p'},
    {36, u'\r'}, {37, u'l'}, {38, u'j'}, {39, u'\''}, {40, u'k'}, {41, u';'},  {42, u'\\'},
    {43, u','},  {44, u'/'}, {45, u'n'}, {46, u'm'},  {47, u'.'}, {48, u'\t'}, {49, u' '},
    {50, u'`'},  {51, 8},    {53, 27},   {65, u'.'},  {67, u'*'}, {69, u'+'},  {75, u'/'},
    {76, 3},     {78, u'-'}, {81, u'='}, {82, u'0'},  {83, u'1'}, {84, u'2'},  {85, u'3'},
    {86, u'4'},  {87, u'5'}, {88, u'6'}, {89, u'7'},  {91, u'8'}, {92, u'9'},
};

std::mutex gMutex;
std::shared_ptr<const NSKeyboardLayout>& installed() {
  static auto* layout = new std::shared_ptr<const NSKeyboardLayout>;
  return *layout;
}

}  // namespace

std::u16string USKeyboardLayout::translate(std::uint16_t keyCode,
                                           std::uint32_t& deadKeyState) const {
  deadKeyState = 0;
  for (const auto& key : kUSKeys)
    if (key.keyCode == keyCode) return std::u16string(1, key.text);
  return {};
}

std::shared_ptr<const NSKeyboardLayout> NSKeyboardLayout::current() {
  static const auto us = std::make_shared<const USKeyboardLayout>();
  std::lock_guard<std::mutex> lock(gMutex);
  return installed() ? installed() : us;
}

void NSKeyboardLayout::setCurrent(std::shared_ptr<const NSKeyboardLayout> layout) {
  std::lock_guard<std::mutex> lock(gMutex);
  installed() = std::move(layout);
}

}  // namespace platform
