#include "support/unprivileged.h"

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumigrave::test {

namespace {
constexpr uid_t kNobody = 65534;
}

AsUnprivilegedUser::AsUnprivilegedUser() {
    if (geteuid() == 0) {
        setfsgid(kNobody);
        setfsuid(kNobody);
        switched_ = true;
    }
}

AsUnprivilegedUser::~AsUnprivilegedUser() {
    if (switched_) {
        setfsuid(0);
        setfsgid(0);
    }
}

void makeWorldReadable(const char* path, bool directory) {
    chmod(path, directory ? 0755 : 0644);
}

}  // namespace lumigrave::test
