# libFuzzer targets (make fuzz): clang, with AddressSanitizer and UndefinedBehaviorSanitizer.
# Every target runs one input on the program's own code over the fakes of the unit tests.
add_library(tav_fuzz_support STATIC support/fake_host.cpp support/fake_platform.cpp)
target_include_directories(tav_fuzz_support PUBLIC ${CMAKE_CURRENT_LIST_DIR}/.. ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(tav_fuzz_support PUBLIC tav_core)
foreach(name settings version download mail signature)
  add_executable(fuzz_${name} ${CMAKE_CURRENT_LIST_DIR}/${name}_fuzz.cpp)
  target_link_libraries(fuzz_${name} PRIVATE tav_store tav_fuzz_support)
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(fuzz_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
endforeach()
