# Common settings of every target of the project: warnings (errors only when asked
# for, as the test script does), and the sanitizers when the sanitizer build is asked for.
function(orlan_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  # GCC 12 and 13 warn falsely about "text" + std::string when optimising (-Wrestrict,
  # their bug 105329); the warning would break every Release build.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
     AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 14)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(ORLAN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(ORLAN_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all
                                             -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
  if(ORLAN_FUZZ)
    # Coverage for the fuzzer's guidance, in every library it reaches.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
    target_link_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
  endif()
endfunction()

# A toolkit-free library whose sources live in one folder.
function(orlan_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  orlan_target_defaults(${name})
endfunction()

# A GoogleTest executable registered with CTest.
function(orlan_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  orlan_target_defaults(${name})
  # Every test takes well under a second; the limit turns a hang (or work that grows
  # out of bounds) into a failure instead of a stalled run.
  if(CMAKE_CROSSCOMPILING)
    # One test per executable: each start under an emulator costs far more than a test.
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS toolkit-free TIMEOUT 600)
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES LABELS toolkit-free TIMEOUT 120)
  endif()
endfunction()
