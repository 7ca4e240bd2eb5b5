// The program the debugger's tests step through: a recursive routine (r1 += r0
// levels), a device read, a WAIT and a store to `buf`. Each test appends its own
// routines after it.
#ifndef ORLAN_TESTS_SUPPORT_RECURSION_PROGRAM_H_
#define ORLAN_TESTS_SUPPORT_RECURSION_PROGRAM_H_

namespace orlan::testing {

inline constexpr char kRecursionProgram[] =
    "        . = 1000\n"
    "start:  mov #4,r0\n"
    "        jsr pc,fact\n"
    "after:  mov r1,@#buf\n"
    "        tst @#164002\n"
    "        wait\n"
    "        inc r2\n"
    "        br .\n"
    "fact:   dec r0\n"
    "        beq done\n"
    "        jsr pc,fact\n"  // 001032
    "done:   inc r1\n"       // 001036
    "        rts pc\n";

}  // namespace orlan::testing

#endif  // ORLAN_TESTS_SUPPORT_RECURSION_PROGRAM_H_
