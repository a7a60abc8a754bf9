#include "support/JackServer.h"

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/sem.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <thread>

namespace testsupport {

namespace {

constexpr int kStartAttempts = 100;
constexpr auto kStartPoll = std::chrono::milliseconds(100);
// How long a server told to stop may take to end before it is killed.
constexpr auto kStopLimit = std::chrono::seconds(10);
// Where JACK keeps its semaphores and server folders on Linux.
constexpr const char* kSharedMemoryDir = "/dev/shm";

std::atomic<int> gServersMade{0};

// JACK's table of running servers in shared memory: a header, then eight entries of a pid and
// a name "jack-<uid>:<server>:". A server that dies without taking its entry out leaves it
// until a server of the same name starts; eight such entries stop every further server from
// starting ("Too many servers already active"). Its lock is a System V semaphore.
constexpr const char* kServerTablePath = "/dev/shm/jack-shm-registry";
constexpr key_t kServerTableLockKey = 0x282929;
constexpr std::uint32_t kServerTableMagic = 0x4A41434B;  // "JACK"
constexpr int kMaxServers = 8;
struct ServerTableHeader {
  std::uint32_t magic;
  std::uint16_t protocol;
  std::int32_t type;
  std::uint32_t size;
  std::uint32_t headerLength;
  std::uint32_t entryLength;
};
struct ServerTableEntry {
  pid_t pid;
  char name[260];
};
static_assert(sizeof(ServerTableHeader) == 24 && sizeof(ServerTableEntry) == 264);
constexpr std::size_t kServerTableBytes =
    sizeof(ServerTableHeader) + kMaxServers * sizeof(ServerTableEntry);

// Clears the table's entries whose server process is gone: they stand for no server and only
// take room. A table of another layout is left alone.
void clearDeadServerEntries() {
  const int fd = open(kServerTablePath, O_RDWR);
  if (fd < 0) return;
  void* mapped = mmap(nullptr, kServerTableBytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  close(fd);
  if (mapped == MAP_FAILED) return;
  auto* header = static_cast<ServerTableHeader*>(mapped);
  const int lock = semget(kServerTableLockKey, 1, 0);
  sembuf take{0, -1, SEM_UNDO}, give{0, 1, SEM_UNDO};
  if (header->magic == kServerTableMagic && header->headerLength == kServerTableBytes &&
      lock >= 0 && semop(lock, &take, 1) == 0) {
    auto* entries = reinterpret_cast<ServerTableEntry*>(header + 1);
    for (int i = 0; i < kMaxServers; ++i) {
      ServerTableEntry& entry = entries[i];
      if (entry.pid > 0 && kill(entry.pid, 0) != 0 && errno == ESRCH)
        std::memset(&entry, 0, sizeof entry);
    }
    semop(lock, &give, 1);
  }
  munmap(mapped, kServerTableBytes);
}

// JACK keeps under /dev/shm, besides each server's files, one metadata database that every JACK
// process of the user opens and closes, servers and clients alike. A process killed while it
// holds one of the database's locks (a server killed as a crash would, a client killed as its
// test timed out) leaves that lock taken for good: every JACK process that opens or closes the
// database afterwards waits forever, a server starting, a client opening its first client or
// closing its last one. So the test process takes a /dev/shm of its own, in a mount namespace
// its children (the servers, the program) share, where only its own servers and clients are;
// whether it has one. Where the system refuses one, the common /dev/shm stays.
bool ownSharedMemory() {
  static const bool own = [] {
    if (unshare(CLONE_NEWNS) != 0) return false;
    // Without private propagation the mount below would reach every other process.
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
    return mount("tmpfs", kSharedMemoryDir, "tmpfs", MS_NOSUID | MS_NODEV, "mode=1777") == 0;
  }();
  return own;
}

}  // namespace

JackServer::JackServer()
    : mName("test-" + std::to_string(getpid()) + "-" + std::to_string(gServersMade++)),
      mOwnSharedMemory(ownSharedMemory()) {
  setenv("JACK_DEFAULT_SERVER", mName.c_str(), 1);
  start();
}

bool JackServer::start() {
  if (mRunning) return true;
  mError.clear();
  // A server of this name left behind (a crashed run of the same pid, or one killed) would
  // confuse this one.
  removeLeftovers();
  mPid = fork();
  if (mPid == 0) {
    // The server dies with the test even when the test crashes before stopping it.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() == 1) _exit(127);
    const int devNull = open("/dev/null", O_RDWR);
    if (devNull >= 0) {
      dup2(devNull, STDIN_FILENO);
      dup2(devNull, STDOUT_FILENO);
      dup2(devNull, STDERR_FILENO);
    }
    execlp("jackd", "jackd", "-n", mName.c_str(), "-d", "dummy", "-r", "48000", "-p", "256",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  if (mPid < 0) {
    mError = std::string("jackd cannot start: ") + std::strerror(errno);
    return false;
  }
  for (int attempt = 0; attempt < kStartAttempts; ++attempt) {
    int status = 0;
    if (waitpid(mPid, &status, WNOHANG) == mPid) {
      mPid = -1;
      mError = WIFEXITED(status) && WEXITSTATUS(status) == 127
                   ? "jackd is not installed"
                   : "jackd exited at once (status " + std::to_string(status) + ")";
      removeLeftovers();
      return false;
    }
    // Asked by a jack_lsp of its own rather than by a client of this process: JACK's client
    // library cancels a client's notification thread wherever it is as the client closes, and
    // one cancelled while it handles a notification (a server tells a new client at once of the
    // clients it has) leaves the library's lock taken, so the process that closed it waits
    // forever at its next JACK call. A tool that hangs so is ended after a few seconds.
    if (std::system("timeout -s KILL 5 jack_lsp > /dev/null 2>&1") == 0) return mRunning = true;
    std::this_thread::sleep_for(kStartPoll);
  }
  mError = "jackd did not answer within 10 s";
  stop();
  return false;
}

JackServer::~JackServer() {
  stop();
  unsetenv("JACK_DEFAULT_SERVER");
}

void JackServer::end(int signal) {
  mRunning = false;
  if (mPid <= 0) return;
  ::kill(mPid, signal);
  // A server stopped cleanly closes the metadata database, which waits forever when a process
  // killed earlier holds one of its locks: past the limit it is killed.
  const auto deadline = std::chrono::steady_clock::now() + kStopLimit;
  for (pid_t ended = 0; ended == 0 || (ended < 0 && errno == EINTR);
       ended = waitpid(mPid, nullptr, WNOHANG)) {
    if (std::chrono::steady_clock::now() >= deadline) {
      ::kill(mPid, SIGKILL);
      while (waitpid(mPid, nullptr, 0) < 0 && errno == EINTR) {
      }
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  mPid = -1;
}

void JackServer::kill() {
  end(SIGKILL);
}

void JackServer::stop() {
  end(SIGTERM);
  removeLeftovers();
}

void JackServer::removeLeftovers() const {
  namespace fs = std::filesystem;
  std::error_code ec;
  const std::string uid = std::to_string(getuid());
  // Semaphores are named jack_sem.<uid>_<server>_<client>.
  const std::string prefix = "jack_sem." + uid + "_" + mName + "_";
  for (fs::directory_iterator it(kSharedMemoryDir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string file = it->path().filename().string();
    if (file.compare(0, prefix.size(), prefix) == 0) fs::remove(it->path(), ec);
  }
  fs::remove_all(fs::path(kSharedMemoryDir) / ("jack-" + uid) / mName, ec);
  clearDeadServerEntries();
  // The metadata database a killed server leaves may hold its locks; a server that ends cleanly
  // removes the database itself, and the next one makes a new one. Only in the test's own
  // /dev/shm: the common one is every other JACK user's too.
  if (mOwnSharedMemory) fs::remove_all(fs::path(kSharedMemoryDir) / ("jack_db-" + uid), ec);
}

}  // namespace testsupport
