# Writes a blank cartridge image to OUTPUT unless a file is already there: the demo ROM
# keeps its boot counter in the image, which a rebuild must not wipe.
# Called as: cmake -DASSEMBLER=... [-DEMULATOR=...] -DSOURCE=... -DOUTPUT=... -P BlankCartridge.cmake
# (EMULATOR: the command that runs a cross-built assembler, as Wine does, its items
# separated by "|").
if(NOT EXISTS "${OUTPUT}")
  string(REPLACE "|" ";" EMULATOR "${EMULATOR}")
  execute_process(
    COMMAND ${EMULATOR} "${ASSEMBLER}" --from 0 --to 1777 --fill 0 -o "${OUTPUT}" "${SOURCE}"
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cannot write the blank cartridge ${OUTPUT}")
  endif()
endif()
