# Turns a BDF font into the glyph table of the page's bitmap text: for each
# character from 32 to 126 its box, its advance and its rows of bits. The
# font's copyright and notice, which travel with its glyphs, go to the file
# named by -v avisos=FILE.
/^(COPYRIGHT|NOTICE) "/ {
    valor = substr($0, index($0, "\"") + 1)
    sub(/"$/, "", valor)
    gsub(/""/, "\"", valor)
    print valor > avisos
    achados++
}
/^ENCODING/ { c = $2 }
/^DWIDTH/ { avanco = $2 }
/^BBX/ { w = $2; h = $3; x = $4; y = $5 }
/^BITMAP/ {
    lendo = c >= 32 && c <= 126
    if (lendo)
        glifo[c] = sprintf("{%d, %d, %d, %d, %d, %d}", w, h, x, y, avanco, n)
    next
}
/^ENDCHAR/ { lendo = 0 }
lendo { for (i = 1; i < length($0); i += 2) bits[n++] = "0x" substr($0, i, 2) }
END {
    if (achados != 2) {
        print "fonte.awk: the font has no COPYRIGHT or no NOTICE" > "/dev/stderr"
        exit 1
    }
    print "// Made at build time from the X11 75-dpi Times 24 font."
    print "#include \"Fonte.h\""
    print "const Glifo glifos[95] = {"
    for (c = 32; c <= 126; c++)
        print "    " glifo[c] ","
    print "};"
    printf "const unsigned char bits[%d] = {", n
    for (i = 0; i < n; i++)
        printf "%s%s,", i % 12 ? " " : "\n    ", bits[i]
    print "\n};"
}
