#pragma once

namespace lumigrave::test {

// File permissions mean nothing to root, and tests run as root on CI. While this object
// lives, the thread's file-system identity is that of "nobody", which drops root's
// power to override permissions; for any other user it does nothing.
class AsUnprivilegedUser {
  public:
    AsUnprivilegedUser();
    ~AsUnprivilegedUser();
    AsUnprivilegedUser(const AsUnprivilegedUser&) = delete;
    AsUnprivilegedUser& operator=(const AsUnprivilegedUser&) = delete;

  private:
    bool switched_ = false;
};

// A file or directory the unprivileged identity may enter (0755) or read (0644).
void makeWorldReadable(const char* path, bool directory);

}  // namespace lumigrave::test
