#pragma once

#include <sys/types.h>

#include <string>

namespace testsupport {

// A JACK server of the test's own on the dummy driver, under a name no other test uses, so
// parallel tests never share one. JACK_DEFAULT_SERVER names it while it lives, so clients the
// test makes (and programs it starts) find it. Where the system allows it, the test process
// and its children get a /dev/shm of their own, so that no JACK process of another test can
// leave them a metadata database they wait on forever (see JackServer.cpp). It is stopped by
// its pid, and what the server and its clients leave in shared memory under its name is removed
// then. When jackd cannot start, running() is false and whyNot() says why, so the test can skip
// with that message.
class JackServer {
 public:
  JackServer();
  ~JackServer();
  JackServer(const JackServer&) = delete;
  JackServer& operator=(const JackServer&) = delete;

  bool running() const { return mRunning; }
  const std::string& whyNot() const { return mError; }
  const std::string& name() const { return mName; }

  // Ends the server at once (SIGKILL), as a crash would: its clients are left to notice.
  void kill();
  // Starts a server of the same name (after kill); whether it answers.
  bool start();

 private:
  // Sends the server the signal and waits for it to end.
  void end(int signal);
  void stop();
  // Removes the semaphores and the server folder of this server's name (no other server's
  // files), the entries of dead servers from JACK's server table, which has room for eight and
  // would otherwise fill up with them, and, in the test's own /dev/shm, the metadata database.
  void removeLeftovers() const;

  std::string mName;
  bool mOwnSharedMemory = false;
  pid_t mPid = -1;
  bool mRunning = false;
  std::string mError;
};

}  // namespace testsupport
