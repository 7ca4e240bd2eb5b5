; every directive and expression form
        . = 100000
start:  mov     #msg,r0
        jsr     pc,sub
        br      start
sub:    rts     pc
msg:    .ascii  "hi\n"
        .asciz  "x"
        .even
tab:    .word   start, msg-start, 'A, 17., 0x1F, -1, 3*4/2
        .byte   1, 377, -1
        .blkb   3
        .blkw   2
        .org    . + 2
x = y + 1
y = tab
        .word   x, y
        .end
