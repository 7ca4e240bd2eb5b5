; Orlan demo ROM: a clock, the cartridges with a boot counter, and a line
; editor on the display. Assembled by orlan-asm into the image 100000-177377;
; the processor starts at 173000.
;
; Display: 20 columns by 8 rows of 6x8 characters.
;   row 0  title                    row 4-6  the last three lines typed
;   row 1  weekday, date, time      row 7    the input line
;   row 2  cartridge 0 and the boot counter kept in its first two bytes
;   row 3  cartridge 1

; ---- devices
lcdreg  = 164000                ; LCD register 0: address of the display memory
chdata  = 164020                ; channel register 0: data
chsel   = 164024                ; channel register 2: device code and command
chend   = 164026                ; channel register 3: a read ends the transfer
rtc     = 165000                ; clock register i at rtc+2i, read as value*2
rtcsec  = rtc
rtcmin  = rtc+4
rtchour = rtc+10
rtcwday = rtc+14
rtcday  = rtc+16
rtcmon  = rtc+20
rtcyear = rtc+22
rtcctl  = rtc+26                ; register 11: bit 3 enables the periodic interrupt

; channel device codes with their cartridge commands in the high four bits
kbdsel  = 2                     ; keyboard
c0load  = 250                   ; cartridge 0, load address (two bytes, high first)
c0read  = 320                   ; cartridge 0, read with the address going up
c0write = 310                   ; cartridge 0, write with the address going up

; ---- RAM
stack   = 2000                  ; grows down towards the vectors
disp    = 2000                  ; 960 bytes of display memory, 2000-3677
vars    = 4000
varsize = 400                   ; bytes cleared at reset
lastsec = vars                  ; clock seconds (times 2) last shown
ticks   = vars+2                ; periodic interrupts counted
khead   = vars+4                ; key ring: next slot to fill, 0-17
ktail   = vars+6                ; next slot to take
inlen   = vars+10               ; characters in the input line
cart0ok = vars+12               ; 0 when cartridge 0 answers, else 377
cart1ok = vars+14
boots   = vars+16               ; the boot counter read from cartridge 0, plus 1
tsec    = vars+20               ; clock fields read together (times 2)
tmin    = tsec+2
thour   = tsec+4
twday   = tsec+6
tday    = tsec+10
tmon    = tsec+12
tyear   = tsec+14
numbuf  = vars+40               ; digits of an octal number, 6 bytes
numend  = numbuf+6              ; its terminating 0
kbuf    = vars+60               ; 16 key codes
inbuf   = vars+100              ; the input line
inmax   = 21                    ; 17 characters: columns 2-18, the cursor up to 19
log0    = vars+140              ; three history lines of 20 characters each
log1    = log0+24
log2    = log1+24
cols    = 24                    ; 20 columns

; ======================================================================
        .org 173000
reset:  mov #stack,sp
        mov #vectab,r1          ; vector address, handler; 0 ends the table
vset:   mov (r1)+,r0
        beq vdone
        mov (r1)+,(r0)+
        mov #340,(r0)           ; handlers run at priority 7
        br vset
vdone:  mov #vars,r0            ; RAM is not cleared by a reset
        mov #varsize/2,r1
vclr:   clr (r0)+
        sob r1,vclr
        mov #177777,@#lastsec
        mov #disp,r0
        mov #740,r1             ; 480 words
dclr:   clr (r0)+
        sob r1,dclr
        mov #disp,@#lcdreg
        mov #loginit,r0         ; history starts with a hint
        mov #log0,r1
        mov #3*cols,r2
lini:   movb (r0)+,(r1)+
        sob r2,lini
        jsr pc,carts            ; still at priority 7: nothing else uses the channel
        jsr pc,screen
        mov #20,@#rtcctl        ; periodic interrupt on (taken at the next clock access)
        jsr pc,clock
        mtps #0
main:   wait
        jsr pc,clock
        jsr pc,keys
        br main

; ---- interrupts
clkint: inc @#ticks
        rti

; Key interrupt: select the keyboard; the selection takes the held key's code,
; which the next read of the data register gives.
keyint: mov r0,-(sp)
        mov r1,-(sp)
        mov #kbdsel,@#chsel
        mov @#chdata,r0
        tst @#chend
        bit #3,r0               ; 0: the key is already up
        beq kiend
        mov @#khead,r1
        movb r0,kbuf(r1)
        inc r1
        bic #177760,r1
        cmp r1,@#ktail          ; ring full: the key is dropped
        beq kiend
        mov r1,@#khead
kiend:  mov (sp)+,r1
        mov (sp)+,r0
        rti

; Traps: the message names the vector and the address after the instruction.
trap4:  mov #4,r0
        br fault
trap10: mov #10,r0
        br fault
trap14: mov #14,r0
        br fault
trap20: mov #20,r0
        br fault
trap30: mov #30,r0
        br fault
trap34: mov #34,r0
fault:  mov (sp),r5
        mov #stack,sp
        clr r1
        mov #7,r2
        mov #ftrap,r3
        jsr pc,print
        mov #3,r4
        jsr pc,octal
        mov #fpc,r3
        jsr pc,print
        mov r5,r0
        mov #6,r4
        jsr pc,octal
        jsr pc,clreol
fstop:  wait
        br fstop

; ---- cartridges
; Probes both cartridges and counts this boot in cartridge 0.
carts:  clr r0
        jsr pc,cprobe
        mov r0,@#cart0ok
        mov #1,r0
        jsr pc,cprobe
        mov r0,@#cart1ok
        tst @#cart0ok
        bne crts
        jsr pc,bootct
crts:   rts pc

; r0: cartridge 0 or 1. Selecting it sets its command to 0; the first read gives
; the value taken at the selection, the second 0 from a present cartridge and
; 377 from an absent one. Gives that in r0.
cprobe: mov r0,@#chsel
        mov @#chdata,r0
        mov @#chdata,r0
        tst @#chend
        rts pc

; Loads the address r0 into cartridge 0.
caddr:  mov r3,-(sp)
        mov #c0load,@#chsel
        mov r0,r3
        swab r3
        mov r3,@#chdata         ; high byte first
        mov r0,@#chdata
        mov (sp)+,r3
        rts pc

; Reads the counter at cartridge address 0 (low byte first), adds 1 and
; writes it back.
bootct: clr r0
        jsr pc,caddr
        mov #c0read,@#chsel
        mov @#chdata,r0         ; the value taken at the selection; fetches byte 0
        mov @#chdata,r3         ; byte 0; fetches byte 1
        mov @#chdata,r4         ; byte 1
        tst @#chend
        bic #177400,r3
        swab r4
        clrb r4
        bis r3,r4
        inc r4
        mov r4,@#boots
        clr r0
        jsr pc,caddr
        mov #c0write,@#chsel
        mov r4,@#chdata
        swab r4
        mov r4,@#chdata
        tst @#chend
        rts pc

; ---- screen
screen: clr r1
        clr r2
        mov #title,r3
        jsr pc,print
        clr r1
        mov #2,r2
        mov #tcart0,r3
        jsr pc,print
        tst @#cart0ok
        bne scr1
        mov #tboot,r3
        jsr pc,print
        mov @#boots,r0
        mov #5,r4
        jsr pc,decimal
        br scr2
scr1:   mov #tnone,r3
        jsr pc,print
scr2:   clr r1
        mov #3,r2
        mov #tcart1,r3
        jsr pc,print
        mov #tnone,r3
        tst @#cart1ok
        bne scr3
        mov #tyes,r3
scr3:   jsr pc,print
        jsr pc,showlog
        jmp showin

; Shows weekday, date and time on row 1 when the clock's second has moved.
clock:  cmp @#rtcsec,@#lastsec
        beq ckret
ck1:    mov @#rtcsec,@#tsec     ; read the fields again if a second passes meanwhile
        mov @#rtcmin,@#tmin
        mov @#rtchour,@#thour
        mov @#rtcwday,@#twday
        mov @#rtcday,@#tday
        mov @#rtcmon,@#tmon
        mov @#rtcyear,@#tyear
        cmp @#rtcsec,@#tsec
        bne ck1
        mov @#tsec,@#lastsec
        clr r1
        mov #1,r2
        mov @#twday,r0
        asr r0
        dec r0
        cmp r0,#7
        blo ck2
        mov #7,r0               ; out of range: "??"
ck2:    asl r0
        add #wdays,r0
        mov r0,r3
        mov #2,r4
        jsr pc,drawn
        inc r1
        mov @#tday,r0
        jsr pc,dec2
        mov #'.,r0
        jsr pc,drawch
        inc r1
        mov @#tmon,r0
        jsr pc,dec2
        mov #'.,r0
        jsr pc,drawch
        inc r1
        mov @#tyear,r0
        jsr pc,dec2
        inc r1
        mov @#thour,r0
        jsr pc,dec2
        mov #':,r0
        jsr pc,drawch
        inc r1
        mov @#tmin,r0
        jsr pc,dec2
        mov #':,r0
        jsr pc,drawch
        inc r1
        mov @#tsec,r0
        jsr pc,dec2
ckret:  rts pc

; r0: a clock field times 2; shows it as two decimal digits.
dec2:   asr r0
        mov #2,r4
        jmp decimal

; ---- keys
; Takes the codes that the key interrupt left in the ring.
keys:   cmp @#ktail,@#khead
        beq kdone
        mov @#ktail,r1
        movb kbuf(r1),r0
        inc r1
        bic #177760,r1
        mov r1,@#ktail
        bic #177403,r0          ; code 3+4*row+32*column: keep row and column
        asr r0
        asr r0
        movb chartab(r0),r0
        jsr pc,onkey
        br keys
kdone:  rts pc

; r0: the character of a key (0 none, 10 backspace, 15 enter).
onkey:  cmp r0,#10
        beq kbs
        cmp r0,#15
        beq kent
        tst r0
        beq kret
        mov @#inlen,r1
        cmp r1,#inmax
        bhis kret
        movb r0,inbuf(r1)
        inc @#inlen
        add #2,r1
        mov #7,r2
        jsr pc,drawch
        inc r1
        mov #'_,r0
        jsr pc,drawch
kret:   rts pc
kbs:    mov @#inlen,r1
        beq kret
        dec r1
        mov r1,@#inlen
        add #2,r1
        mov #7,r2
        mov #'_,r0
        jsr pc,drawch
        inc r1
        mov #' ,r0
        jmp drawch
kent:   mov #log1,r4            ; scroll the history up by one line
        mov #log0,r5
        mov #2*cols,r3
ke1:    movb (r4)+,(r5)+
        sob r3,ke1
        mov #inbuf,r4           ; r5 is at log2 now
        mov @#inlen,r3
        beq ke3
ke2:    movb (r4)+,(r5)+
        sob r3,ke2
ke3:    cmp r5,#log2+cols
        bhis ke4
        movb #' ,(r5)+
        br ke3
ke4:    clr @#inlen
        jsr pc,showlog
        jmp showin

showlog: mov #4,r2
        mov #log0,r3
sl1:    clr r1
        mov #cols,r4
        jsr pc,drawn
        inc r2
        cmp r2,#7
        blo sl1
        rts pc

showin: clr r1
        mov #7,r2
        mov #prompt,r3
        jsr pc,print
        jmp clreol

; ---- text output: r1 column (0-23), r2 row (0-7)
; Draws blanks from r1 to the end of the row.
clreol: mov r0,-(sp)
        mov #' ,r0
ce1:    cmp r1,#cols
        bhis ce2
        jsr pc,drawch
        inc r1
        br ce1
ce2:    mov (sp)+,r0
        rts pc

; r3: a string ending in 0; r1 ends after it, r3 after the 0.
print:  mov r0,-(sp)
pr1:    movb (r3)+,r0
        beq pr2
        jsr pc,drawch
        inc r1
        br pr1
pr2:    mov (sp)+,r0
        rts pc

; r3: text, r4: its length (1 or more); r1 and r3 end after it.
drawn:  mov r0,-(sp)
        mov r4,-(sp)
dn1:    movb (r3)+,r0
        jsr pc,drawch
        inc r1
        sob r4,dn1
        mov (sp)+,r4
        mov (sp)+,r0
        rts pc

; r0: an unsigned number, r4: digits (1-5); the last r4 decimal digits with
; leading zeros. r1 ends after them; r0 is used.
decimal: mov r3,-(sp)
        mov r4,-(sp)
        mov r5,-(sp)
        mov r4,r5
        asl r5
        neg r5
        add #pow10e,r5
de1:    mov #'0,r3
de2:    cmp r0,(r5)
        blo de3
        sub (r5),r0
        inc r3
        br de2
de3:    mov r0,r4
        mov r3,r0
        jsr pc,drawch
        inc r1
        mov r4,r0
        tst (r5)+
        cmp r5,#pow10e
        blo de1
        mov (sp)+,r5
        mov (sp)+,r4
        mov (sp)+,r3
        rts pc

; r0: a number, r4: digits (1-6); the last r4 octal digits. r0 is used.
octal:  mov r3,-(sp)
        mov r4,-(sp)
        mov r5,-(sp)
        mov #numend,r5
        clrb (r5)
        mov r4,r3
oc1:    mov r0,r4
        bic #177770,r4
        add #'0,r4
        movb r4,-(r5)
        clc
        ror r0
        asr r0
        asr r0
        sob r3,oc1
        mov r5,r3
        jsr pc,print
        mov (sp)+,r5
        mov (sp)+,r4
        mov (sp)+,r3
        rts pc

; Draws the character r0 (040-137; 140-177 as upper case, others as "?") at
; column r1, row r2. Keeps every register.
; A character starts at pixel x = 6*column and may straddle two display bytes,
; so each of its rows is shifted into a word: high byte at the byte of x, low
; byte at the next byte column (2 bytes on in display memory).
drawch: mov r0,-(sp)
        mov r1,-(sp)
        mov r2,-(sp)
        mov r3,-(sp)
        mov r4,-(sp)
        mov r5,-(sp)
        bic #177600,r0
        cmp r0,#140
        blo dc1
        sub #40,r0
dc1:    sub #40,r0
        bhis dc2
        mov #'?-40,r0
dc2:    asl r0
        asl r0
        asl r0
        add #font,r0
        mov r0,r5               ; the glyph's 8 rows
        mov r1,r3
        asl r3
        mov r3,r0
        asl r0
        add r0,r3               ; x = 6*column
        mov r3,r0
        bic #177770,r0
        neg r0
        add #10,r0              ; a glyph byte moves left by 8 - (x mod 8)
        asr r3
        asr r3
        asr r3                  ; byte column
        asl r2
        mov rowtab(r2),r2
        asl r3
        add r3,r2               ; display byte of the glyph's first row
        mov #374,r1             ; the 6 pixels of a row, shifted like the glyph
        ash r0,r1
        mov r1,r4
        swab r4                 ; the same for the byte of x
        mov #10,-(sp)           ; 8 rows
dc5:    movb (r5)+,r3
        bic #177400,r3
        ash r0,r3
        bicb r1,2(r2)
        bisb r3,2(r2)
        swab r3
        bicb r4,(r2)
        bisb r3,(r2)
        add #36,r2              ; next pixel row: 15 words on
        dec (sp)
        bne dc5
        tst (sp)+
        mov (sp)+,r5
        mov (sp)+,r4
        mov (sp)+,r3
        mov (sp)+,r2
        mov (sp)+,r1
        mov (sp)+,r0
        rts pc
romend:

; ======================================================================
; Tables and texts, in the lower part of the image.
        .org 100000
; Display address of each text row's first pixel row: rows 0-3 in the upper
; half (even bytes), rows 4-7 in the lower half (odd bytes); 8 pixel rows of
; 15 words each per text row.
rowtab: .word disp, disp+360, disp+740, disp+1320
        .word disp+1, disp+361, disp+741, disp+1321
vectab: .word 4, trap4, 10, trap10, 14, trap14, 20, trap20
        .word 30, trap30, 34, trap34, 100, clkint, 310, keyint, 0
pow10:  .word 10000., 1000., 100., 10., 1
pow10e:
wdays:  .ascii "MOTUWETHFRSASU??"
title:  .asciz "     ORLAN  DEMO"
tcart0: .asciz "CART0 "
tcart1: .asciz "CART1 "
tboot:  .asciz "BOOT "
tnone:  .asciz "NO CART"
tyes:   .asciz "PRESENT"
prompt: .asciz "> _"
ftrap:  .asciz "TRAP "
fpc:    .asciz " PC "
loginit: .ascii "                    "
        .ascii "                    "
        .ascii "TYPE, THEN ENTER    "
        .even

; Character of each key, indexed by (code-3)/4 = row+8*column:
; 10 backspace, 15 enter, 0 for keys without a character.
chartab:
        .byte 0,0,101,111,122,133,0,0    ; column 0, rows 0-7
        .byte 61,66,102,112,123,135,0,0    ; column 1, rows 0-7
        .byte 62,67,127,113,124,130,0,0    ; column 2, rows 0-7
        .byte 63,70,107,114,125,131,54,40    ; column 3, rows 0-7
        .byte 64,71,104,115,106,137,56,0    ; column 4, rows 0-7
        .byte 65,60,105,116,110,134,0,0    ; column 5, rows 0-7
        .byte 72,57,126,117,103,100,10,0    ; column 6, rows 0-7
        .byte 73,55,132,120,136,121,15,0    ; column 7, rows 0-7

; 6x8 characters 040-137: 8 rows each, bit 7 the leftmost pixel.
font:
        .byte 0,0,0,0,0,0,0,0    ; 040  
        .byte 40,40,40,40,40,0,40,0    ; 041 !
        .byte 120,120,120,0,0,0,0,0    ; 042 "
        .byte 120,120,370,120,370,120,120,0    ; 043 #
        .byte 40,170,240,160,50,360,40,0    ; 044 $
        .byte 300,310,20,40,100,230,30,0    ; 045 %
        .byte 140,220,240,100,250,220,150,0    ; 046 &
        .byte 40,40,100,0,0,0,0,0    ; 047 '
        .byte 20,40,100,100,100,40,20,0    ; 050 (
        .byte 100,40,20,20,20,40,100,0    ; 051 )
        .byte 0,40,250,160,250,40,0,0    ; 052 *
        .byte 0,40,40,370,40,40,0,0    ; 053 +
        .byte 0,0,0,0,140,40,100,0    ; 054 ,
        .byte 0,0,0,370,0,0,0,0    ; 055 -
        .byte 0,0,0,0,0,140,140,0    ; 056 .
        .byte 0,10,20,40,100,200,0,0    ; 057 /
        .byte 160,210,230,250,310,210,160,0    ; 060 0
        .byte 40,140,40,40,40,40,160,0    ; 061 1
        .byte 160,210,10,20,40,100,370,0    ; 062 2
        .byte 370,20,40,20,10,210,160,0    ; 063 3
        .byte 20,60,120,220,370,20,20,0    ; 064 4
        .byte 370,200,360,10,10,210,160,0    ; 065 5
        .byte 60,100,200,360,210,210,160,0    ; 066 6
        .byte 370,10,20,40,100,100,100,0    ; 067 7
        .byte 160,210,210,160,210,210,160,0    ; 070 8
        .byte 160,210,210,170,10,20,140,0    ; 071 9
        .byte 0,140,140,0,140,140,0,0    ; 072 :
        .byte 0,140,140,0,140,40,100,0    ; 073 ;
        .byte 20,40,100,200,100,40,20,0    ; 074 <
        .byte 0,0,370,0,370,0,0,0    ; 075 =
        .byte 100,40,20,10,20,40,100,0    ; 076 >
        .byte 160,210,10,20,40,0,40,0    ; 077 ?
        .byte 160,210,10,150,250,250,160,0    ; 100 @
        .byte 160,210,210,370,210,210,210,0    ; 101 A
        .byte 360,210,210,360,210,210,360,0    ; 102 B
        .byte 160,210,200,200,200,210,160,0    ; 103 C
        .byte 340,220,210,210,210,220,340,0    ; 104 D
        .byte 370,200,200,360,200,200,370,0    ; 105 E
        .byte 370,200,200,360,200,200,200,0    ; 106 F
        .byte 160,210,200,270,210,210,170,0    ; 107 G
        .byte 210,210,210,370,210,210,210,0    ; 110 H
        .byte 160,40,40,40,40,40,160,0    ; 111 I
        .byte 70,20,20,20,20,220,140,0    ; 112 J
        .byte 210,220,240,300,240,220,210,0    ; 113 K
        .byte 200,200,200,200,200,200,370,0    ; 114 L
        .byte 210,330,250,250,210,210,210,0    ; 115 M
        .byte 210,210,310,250,230,210,210,0    ; 116 N
        .byte 160,210,210,210,210,210,160,0    ; 117 O
        .byte 360,210,210,360,200,200,200,0    ; 120 P
        .byte 160,210,210,210,250,220,150,0    ; 121 Q
        .byte 360,210,210,360,240,220,210,0    ; 122 R
        .byte 170,200,200,160,10,10,360,0    ; 123 S
        .byte 370,40,40,40,40,40,40,0    ; 124 T
        .byte 210,210,210,210,210,210,160,0    ; 125 U
        .byte 210,210,210,210,210,120,40,0    ; 126 V
        .byte 210,210,210,250,250,250,120,0    ; 127 W
        .byte 210,210,120,40,120,210,210,0    ; 130 X
        .byte 210,210,120,40,40,40,40,0    ; 131 Y
        .byte 370,10,20,40,100,200,370,0    ; 132 Z
        .byte 160,100,100,100,100,100,160,0    ; 133 [
        .byte 0,200,100,40,20,10,0,0    ; 134 backslash
        .byte 160,20,20,20,20,20,160,0    ; 135 ]
        .byte 40,120,210,0,0,0,0,0    ; 136 ^
        .byte 0,0,0,0,0,0,370,0    ; 137 _
fontend:
