#pragma once

#include <functional>
#include <string>
#include <vector>

#include "windowing/Win32.h"

// The test program's host: its application callback records every call and answers
// as the host program does, unless a test scripts another answer.
namespace apphost {

struct Call {
  int code = 0;
  INT_PTR parm1 = 0;
  INT_PTR parm2 = 0;
  MSG msg;           // the record of a key message (code 256)
  std::string path;  // the path of an open-file request (code 80)
};

// Answers one call; return std::nullopt-like -1000 to let the host's own answer stand.
using Script = std::function<INT_PTR(const Call&)>;
inline constexpr INT_PTR kHostAnswer = -1000;

std::vector<Call>& calls();
void setScript(Script script);
void reset();
std::vector<int> codes();

}  // namespace apphost
