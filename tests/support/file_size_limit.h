#pragma once

#include <sys/resource.h>

#include <csignal>

namespace lumigrave::test {

// While it lives, no regular file this process writes grows beyond bytes: the write
// that reaches the limit is cut short and later ones fail with "File too large", as
// real files do on a full disk or quota. The limit is the process's soft one, so it
// holds for every thread; the signal that would end the process is ignored meanwhile.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit previous_{};
    struct sigaction previousAction_ {};
};

}  // namespace lumigrave::test
