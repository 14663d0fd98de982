// Sanitizer settings baked into every test executable, so that a plain run of a test binary
// behaves as it does under CTest: leaks reported, but not the one-time allocations that Mesa's
// software driver and fontconfig keep for the life of the process.
extern "C" {

const char* __asan_default_options() {
    return "detect_leaks=1:halt_on_error=1";
}

const char* __ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}

const char* __lsan_default_suppressions() {
    return "leak:swrast_dri\n"
           "leak:libgallium\n"
           "leak:libLLVM\n"
           "leak:libEGL\n"
           "leak:libEGL_mesa\n"
           "leak:libGLX\n"
           "leak:libGLdispatch\n"
           "leak:libglapi\n"
           "leak:libdrm\n"
           "leak:libfontconfig\n"
           "leak:libexpat\n";
}
}
