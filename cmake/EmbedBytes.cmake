# cmake -DIN=FILE -DOUT=FILE.cpp -DNAME=kName -P EmbedBytes.cmake
# Writes FILE's bytes as a C++ array: extern const unsigned char NAME[]; and NAME##Size.
file(READ ${IN} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
file(WRITE ${OUT}
    "// Made by cmake/EmbedBytes.cmake from ${IN}; do not edit.\n"
    "#include <cstddef>\n"
    "extern const unsigned char ${NAME}[] = {${bytes}};\n"
    "extern const std::size_t ${NAME}Size = ${size};\n")
