#pragma once

// What the host's units share about the MIDI, audio and JACK libraries they call: the output
// those libraries print, a JACK server that answers late, and the clients JACK lets go of.

#include <jack/jack.h>

#include <atomic>
#include <iostream>
#include <memory>
#include <streambuf>
#include <string>
#include <vector>

namespace host {

// A JACK server that is there may answer a new client too late on a busy machine (the client
// then fails with a communication error, or the audio library sees no devices): it is asked
// again this many times, pauseBeforeAskingAgain apart.
inline constexpr int kJackAttempts = 5;

// Waits before a late JACK server is asked again; false, and at once, when the program is to
// quit, which must not wait for a server that takes its time.
bool pauseBeforeAskingAgain();

// Has the ALSA library's reports kept for takeAlsaError instead of printed.
void keepAlsaReports();
// The ALSA library's last report since the previous call, as " (ALSA: ...)", or "".
std::string takeAlsaError();

// Takes characters and keeps none, only counting them; threads may write to it at once.
class NullBuffer : public std::streambuf {
 public:
  unsigned long long taken() const { return mTaken; }

 protected:
  int overflow(int c) override {
    ++mTaken;
    return c;
  }

 private:
  std::atomic<unsigned long long> mTaken{0};
};

// The MIDI and audio libraries print their errors and warnings on standard error; the host logs
// what it catches, so their own lines are dropped while the host calls into them.
class LibraryOutputDropped {
 public:
  LibraryOutputDropped() : mSaved(std::cerr.rdbuf(&sDropped)), mTakenBefore(sDropped.taken()) {
    takeAlsaError();
  }
  ~LibraryOutputDropped() { std::cerr.rdbuf(mSaved); }
  LibraryOutputDropped(const LibraryOutputDropped&) = delete;
  LibraryOutputDropped& operator=(const LibraryOutputDropped&) = delete;

  // Whether a library printed anything since this was made.
  bool printed() const { return sDropped.taken() != mTakenBefore; }

 private:
  static inline NullBuffer sDropped;
  std::streambuf* mSaved;
  unsigned long long mTakenBefore;
};

// Takes JACK's errors and notes, which are otherwise printed; the audio library silences them
// as each of its objects is made, so the host takes them back after.
void listenToJack();
// JACK's client library lets go of every client the program holds (closes and deletes them,
// and says so on its error channel) when a client is opened after the server went away; the
// audio library opens one for each of its questions. Whether that happened since the last
// call; the objects that held those clients must then never use them again.
bool takeJackDroppedClients();

// Keeps, unused and never deleted, an object whose client JACK let go of: its destructor would
// close that client again.
template <class Object>
void forget(std::unique_ptr<Object>& object) {
  static auto* forgotten = new std::vector<const void*>;
  if (object) forgotten->push_back(object.release());
}

// The info-shutdown callback of the host's clients: sets the std::atomic<bool> it is given.
void onJackShutdown(jack_status_t, const char*, void* gone);

}  // namespace host
