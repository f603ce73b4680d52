// Sanitizer defaults for the native programs, linked into each executable (not the library, whose
// unreferenced objects the linker would drop).
#if defined(__SANITIZE_ADDRESS__)
// An allocation too large for memory returns null, as it does without the sanitizer, instead of
// ending the program: the code handles a null block.
extern "C" __attribute__((used)) const char* __asan_default_options() {
  return "allocator_may_return_null=1";
}

// GIO keeps its shared MIME database and type caches for the life of the process.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions() {
  return "leak:libgio-2.0.so\nleak:libglib-2.0.so\n";
}

extern "C" __attribute__((used)) const char* __lsan_default_options() {
  return "print_suppressions=0";
}
#endif
