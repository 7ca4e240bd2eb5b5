# Fuzz targets. Each target is one source file defining LLVMFuzzerTestOneInput. Its
# corpus (seeds, and every input that ever failed) replays as an ordinary test in every
# build, through a small driver; with ORLAN_FUZZ (Clang only) the target is also built
# as a libFuzzer executable, and everything else is instrumented for it.
option(ORLAN_FUZZ "Build the libFuzzer targets (Clang)" OFF)
if(ORLAN_FUZZ AND NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "ORLAN_FUZZ needs Clang")
endif()

# orlan_fuzz_target(name SOURCE file CORPUS folder [SEEDS files...] LIBS libraries...)
# SEEDS: files of the tree that serve as inputs where they are (the demo ROM's source),
# replayed with the corpus and given to the fuzzer with it.
function(orlan_fuzz_target name)
  cmake_parse_arguments(ARG "" "SOURCE;CORPUS" "LIBS;SEEDS" ${ARGN})
  add_executable(${name}_replay ${ARG_SOURCE} ${PROJECT_SOURCE_DIR}/tests/fuzz/replay_main.cc)
  target_link_libraries(${name}_replay PRIVATE ${ARG_LIBS})
  set_target_properties(${name}_replay PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  orlan_target_defaults(${name}_replay)
  add_test(NAME ${name}_corpus COMMAND ${name}_replay ${ARG_CORPUS} ${ARG_SEEDS})
  set_tests_properties(${name}_corpus PROPERTIES LABELS toolkit-free TIMEOUT 600)
  if(ORLAN_FUZZ)
    add_executable(${name} ${ARG_SOURCE})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    orlan_target_defaults(${name})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    list(JOIN ARG_SEEDS "|" seeds)
    set_property(GLOBAL APPEND PROPERTY ORLAN_FUZZ_TARGETS "${name}=${ARG_CORPUS}|${seeds}")
  endif()
endfunction()

# A list of "target=corpus|seed|seed..." lines for scripts/fuzz, written at the end of configuration.
function(orlan_write_fuzz_list)
  get_property(targets GLOBAL PROPERTY ORLAN_FUZZ_TARGETS)
  list(JOIN targets "\n" text)
  file(WRITE ${CMAKE_BINARY_DIR}/fuzz-targets.txt "${text}\n")
endfunction()
