// Sanitizer defaults for the test binaries that start the web engine; the environment's
// options still come on top. Compiled into each such binary (the runtime looks these
// functions up in the executable), and unused without sanitizers.
//
// - Chromium inside Qt WebEngine frees some of its own objects through a base type of
//   another size, which AddressSanitizer reports as a new/delete type mismatch with every
//   frame in libQt6WebEngineCore: not a fault it could be told apart from, so the check is
//   off in these binaries only.
// - Qt is built without frame pointers, so the fast unwinder stops at the first system
//   library: allocations Qt Gui's font database makes through fontconfig for the engine
//   then show fontconfig alone, and only a suppression of fontconfig for every test (our
//   own font code uses it) would hide them. Full unwinding shows them as Qt Gui's, which
//   the suppressions file already names.
extern "C" const char* __asan_default_options() {
    return "new_delete_type_mismatch=0:fast_unwind_on_malloc=0";
}
