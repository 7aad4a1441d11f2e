# AddressSanitizer + UndefinedBehaviorSanitizer, or ThreadSanitizer, for every target.
if(QUORVEL_SANITIZE AND QUORVEL_TSAN)
  message(FATAL_ERROR "QUORVEL_SANITIZE and QUORVEL_TSAN cannot be combined")
endif()
if(QUORVEL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
if(QUORVEL_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# Fuzz builds: coverage instrumentation for every library, so libFuzzer can steer by it.
if(QUORVEL_BUILD_FUZZERS)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
