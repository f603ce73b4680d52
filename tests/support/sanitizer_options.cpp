// Under AddressSanitizer an allocation too large for memory returns null, as it does without the
// sanitizer, instead of ending the program: the code under test handles a null block.
#if defined(__SANITIZE_ADDRESS__)
extern "C" __attribute__((used)) const char* __asan_default_options() {
  return "allocator_may_return_null=1";
}
#endif
