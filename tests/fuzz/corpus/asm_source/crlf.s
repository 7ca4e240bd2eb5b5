. = 100000
loop: dec r0
	bne loop
	halt ; done
