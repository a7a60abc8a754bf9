#include "host/AppLibraries.h"

#include <alsa/asoundlib.h>

#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>
#include <utility>

#include "host/AppMain.h"

namespace host {

namespace {

constexpr auto kJackRetryPause = std::chrono::milliseconds(200);
constexpr auto kQuitPoll = std::chrono::milliseconds(10);

// What JACK says on its error channel when it lets go of the program's clients.
constexpr const char* kJackDroppedClients = "clients are still allocated";
std::atomic<bool> gJackDroppedClients{false};

void onJackMessage(const char* message) {
  if (message && std::strstr(message, kJackDroppedClients)) gJackDroppedClients = true;
}

// The ALSA library reports each step of a failing look-up on standard error; the host keeps
// only the last report and adds it to its own line about the failure.
std::mutex gAlsaMutex;
std::string gAlsaError;

void onAlsaError(const char* file, int line, const char* function, int error, const char* format,
                 ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  std::string report = text;
  if (error != 0) report += std::string(": ") + snd_strerror(error);
  const std::lock_guard<std::mutex> lock(gAlsaMutex);
  gAlsaError = std::move(report);
}

}  // namespace

bool pauseBeforeAskingAgain() {
  const auto end = std::chrono::steady_clock::now() + kJackRetryPause;
  while (!QuitRequested() && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(kQuitPoll);
  return !QuitRequested();
}

void keepAlsaReports() {
  snd_lib_error_set_handler(onAlsaError);
}

std::string takeAlsaError() {
  const std::lock_guard<std::mutex> lock(gAlsaMutex);
  std::string report = gAlsaError.empty() ? "" : " (ALSA: " + gAlsaError + ")";
  gAlsaError.clear();
  return report;
}

void listenToJack() {
  jack_set_error_function(onJackMessage);
  jack_set_info_function(onJackMessage);
}

bool takeJackDroppedClients() {
  return gJackDroppedClients.exchange(false);
}

void onJackShutdown(jack_status_t, const char*, void* gone) {
  static_cast<std::atomic<bool>*>(gone)->store(true);
}

}  // namespace host
