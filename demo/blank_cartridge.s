; A blank cartridge image for the demo's boot counter: nothing assembled, so
; "orlan-asm --from 0 --to 1777 --fill 0" gives 1024 zero bytes.
