// Runs the real nevalt program as a child the test can act on while it runs: send it a signal,
// move its window, click in it. Its output comes back through pipes (so a file-size limit on the
// child does not swallow it), and every wait has a generous bound, so a program that hangs fails
// the test instead of holding the suite.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "e2e/run_game.h"

namespace e2e {

// What the child gets besides its arguments.
struct ChildSetup {
  std::vector<std::pair<std::string, std::string>> env;  // set these
  std::vector<std::string> unset_env;                    // and remove these
  long file_size_limit = -1;                             // bytes; -1: none
  fs::path cwd;                                          // empty: stay
};

struct ChildResult {
  bool timed_out = false;
  int exit_code = -1;  // -1 when it ended by a signal
  int signal = 0;
  std::string out;
  std::string err;
};

// The suppressions of the sanitizer build for leaks inside system libraries, so that the
// windowed runs of the sanitizer build judge only our own code.
inline std::string lsan_options() {
  return "suppressions=" + std::string(NEVALT_SOURCE_DIR) +
         "/scripts/lsan.supp:print_suppressions=0";
}

class Child {
 public:
  Child() = default;
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() {
    if (pid_ > 0 && !exited_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    close_pipes();
  }

  // Starts program with args; false when it cannot even be started.
  bool start(const std::string& program, const std::vector<std::string>& args,
             const ChildSetup& setup) {
    int out[2];
    int err[2];
    if (::pipe(out) != 0) return false;
    if (::pipe(err) != 0) {
      ::close(out[0]);
      ::close(out[1]);
      return false;
    }
    std::fflush(nullptr);
    pid_ = ::fork();
    if (pid_ < 0) return false;
    if (pid_ == 0) {
      ::dup2(out[1], 1);
      ::dup2(err[1], 2);
      ::close(out[0]);
      ::close(out[1]);
      ::close(err[0]);
      ::close(err[1]);
      // The test's own process may ignore signals; the program starts as from a shell.
      ::signal(SIGXFSZ, SIG_DFL);
      ::signal(SIGTERM, SIG_DFL);
      for (const auto& [name, value] : setup.env) ::setenv(name.c_str(), value.c_str(), 1);
      for (const std::string& name : setup.unset_env) ::unsetenv(name.c_str());
      if (!setup.cwd.empty() && ::chdir(setup.cwd.c_str()) != 0) ::_exit(126);
      if (setup.file_size_limit >= 0) {
        const rlimit limit{static_cast<rlim_t>(setup.file_size_limit),
                           static_cast<rlim_t>(setup.file_size_limit)};
        ::setrlimit(RLIMIT_FSIZE, &limit);
      }
      std::vector<char*> argv;
      argv.push_back(const_cast<char*>(program.c_str()));
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      ::execv(program.c_str(), argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    out_fd_ = out[0];
    err_fd_ = err[0];
    ::fcntl(out_fd_, F_SETFL, O_NONBLOCK);
    ::fcntl(err_fd_, F_SETFL, O_NONBLOCK);
    return true;
  }

  pid_t pid() const { return pid_; }
  bool running() {
    drain();
    if (pid_ <= 0 || exited_) return false;
    if (::waitpid(pid_, &status_, WNOHANG) == pid_) exited_ = true;
    return !exited_;
  }
  // What it wrote to its standard output so far.
  const std::string& out_so_far() {
    drain();
    return out_;
  }
  void signal(int sig) const {
    if (pid_ > 0) ::kill(pid_, sig);
  }

  // Reads from a FIFO the child writes (a state dump past a file-size limit) while waiting.
  void read_fifo(const fs::path& fifo) { fifo_fd_ = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK); }
  const std::string& fifo_text() const { return fifo_text_; }

  // Waits for the end, at most `seconds`; then kills it and says so.
  ChildResult wait(double seconds) {
    ChildResult r;
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    bool ended = false;
    while (!ended) {
      drain();
      if (exited_ || ::waitpid(pid_, &status_, WNOHANG) == pid_) {
        ended = true;
      } else if (std::chrono::steady_clock::now() > until) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &status_, 0);
        r.timed_out = true;
        ended = true;
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
    }
    pid_ = -1;
    exited_ = false;
    drain();
    if (WIFEXITED(status_)) r.exit_code = WEXITSTATUS(status_);
    if (WIFSIGNALED(status_)) r.signal = WTERMSIG(status_);
    r.out = out_;
    r.err = err_;
    close_pipes();
    return r;
  }

 private:
  static void read_some(int fd, std::string* into) {
    if (fd < 0) return;
    char buf[4096];
    for (;;) {
      const ssize_t n = ::read(fd, buf, sizeof buf);
      if (n <= 0) return;
      into->append(buf, static_cast<size_t>(n));
    }
  }
  void drain() {
    read_some(out_fd_, &out_);
    read_some(err_fd_, &err_);
    read_some(fifo_fd_, &fifo_text_);
  }
  void close_pipes() {
    for (int* fd : {&out_fd_, &err_fd_, &fifo_fd_}) {
      if (*fd >= 0) ::close(*fd);
      *fd = -1;
    }
  }

  pid_t pid_ = -1;
  bool exited_ = false;  // reaped by running(); status_ holds how it ended
  int status_ = 0;
  int out_fd_ = -1;
  int err_fd_ = -1;
  int fifo_fd_ = -1;
  std::string out_;
  std::string err_;
  std::string fifo_text_;
};

// Waits until check() holds, at most `seconds`; false when it never did.
template <typename Check>
bool eventually(double seconds, Check check) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < until) {
    if (check()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return check();
}

// The program's window on SDL's dummy video driver: a real window host with its mixer and event
// loop, no display needed. The child is told so explicitly, as the window refuses to fall back to
// an offscreen driver by itself.
inline ChildSetup dummy_window() {
  ChildSetup s;
  s.env = {
      {"SDL_VIDEODRIVER", "dummy"}, {"SDL_AUDIODRIVER", "dummy"}, {"LSAN_OPTIONS", lsan_options()}};
  return s;
}

// A private copy of the data folder with a place for outputs, removed at the end.
struct Workspace {
  fs::path dir = make_temp_dir();
  fs::path data = dir / "data";
  Workspace() { fs::copy(NEVALT_DATA_DIR, data, fs::copy_options::recursive); }
  ~Workspace() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;
};

}  // namespace e2e
