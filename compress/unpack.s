; Unpacks a packed screen (PackFormat.h) on the BBC Micro, straight into screen memory and over
; the file itself, which lies just below it.
;   CALL &900 with X%, Y% = the address just past the file's last byte (low, high byte): writes
;             the screen of the current MODE from &7FFF down to its first byte, reading the file
;             from its last byte down, then restores the MODE's colours (VDU 20).
;   CALL &903 turns the cursor off and every logical colour of the current MODE black, so that
;             the file does not show while it loads.

OSWRCH          = $FFEE
OSWORD          = $FFF1
SCREEN_PAGE     = $034E         ; VDU variable: the first page of screen memory
LOGICAL_COLOURS = $0360         ; VDU variable: the number of logical colours minus one

; In the zero page that BASIC leaves to the user.
in      = $70                   ; the last file byte read; the next one is just below
out     = $72                   ; the last screen byte written
from    = $74                   ; where a copy reads, for the last of its bytes
offset  = $76                   ; the last offset minus one
stop    = $78                   ; the screen's first page
count   = $79                   ; bytes to copy minus one: 0-127

.segment "CODE"
        jmp unpack
        jmp blank

unpack: lda SCREEN_PAGE
        sta stop
        stx in
        sty in+1
        lda #0
        sta out
        lda #$80
        sta out+1
next:   lda out+1               ; done when the screen's first byte is written
        cmp stop
        bne token
        lda out
        beq done
token:  jsr read
        bmi copy
        sta count               ; a literal run of count+1 bytes, just below the token
        clc                     ; in -= count+1
        lda in
        sbc count
        sta in
        bcs :+
        dec in+1
:       jsr lower
        ldy count
literal:
        lda (in),y
        sta (out),y
        dey
        bpl literal
        jmp next

copy:   cmp #$C0
        bcs match
        and #$3F                ; from the last offset: carry clear, count = (T & 63) + 1
        adc #1
        sta count
        jmp along
match:  and #$3F                ; from a new offset: carry set, count = (T & 63) + 2
        adc #1
        sta count
        jsr read
        bmi far
        sta offset
        lda #0
        sta offset+1
        beq along               ; always
far:    and #$7F
        sta offset+1
        jsr read
        sta offset
along:  jsr lower
        sec                     ; from = out + offset + 1
        lda out
        adc offset
        sta from
        lda out+1
        adc offset+1
        sta from+1
        ldy count
repeat: lda (from),y            ; top down, so a copy may overlap what it writes
        sta (out),y
        dey
        bpl repeat
        jmp next
done:   lda #20                 ; VDU 20: the MODE's own colours
        jmp OSWRCH

; A = the file byte below in, which in is moved to; the flags follow A.
read:   lda in
        bne :+
        dec in+1
:       dec in
        ldy #0
        lda (in),y
        rts

; out -= count+1
lower:  clc
        lda out
        sbc count
        sta out
        bcs :+
        dec out+1
:       rts

blank:  ldx #0                  ; VDU 23,1,0;0;0;0;: no cursor
cursor: lda noCursor,x
        jsr OSWRCH
        inx
        cpx #10
        bne cursor
        ldx LOGICAL_COLOURS
black:  stx colour              ; OSWORD 12: logical colour X shows physical colour 0
        lda #0
        sta colour+1
        ldx #<colour
        ldy #>colour
        lda #12
        jsr OSWORD
        ldx colour
        dex
        bpl black
        rts
colour: .byte 0, 0, 0, 0, 0
noCursor:
        .byte 23, 1, 0, 0, 0, 0, 0, 0, 0, 0
