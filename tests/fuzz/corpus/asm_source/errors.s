	.org 100000
	xyz r1
	mov #1,@#nowhere
a = b
b = a
	.word 1/0
	.byte 400
	nop
