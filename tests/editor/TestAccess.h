#pragma once

// Conditions under which saving must fail, for the tests: a user without
// root's rights (root writes into read-only folders), and a limit on the
// size of the files the process writes (a write past it fails as on a
// full disk).

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <stdexcept>

namespace lorvane::testing {

// While it lives, the process acts as "nobody" when it runs as root.
class Unprivileged {
  public:
    Unprivileged() {
        if (::geteuid() != 0) return;
        if (::setegid(65534) != 0 || ::seteuid(65534) != 0)
            throw std::runtime_error("cannot act as nobody");
        active_ = true;
    }
    ~Unprivileged() {
        if (active_) {
            (void)::seteuid(0);
            (void)::setegid(0);
        }
    }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;

  private:
    bool active_ = false;
};

// While it lives, writes past `bytes` in any file fail with EFBIG.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldSignal_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit old_{};
    void (*oldSignal_)(int) = SIG_DFL;
};

}  // namespace lorvane::testing
