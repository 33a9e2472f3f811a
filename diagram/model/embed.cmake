# Writes the bytes of INPUT as a C++ array, so that the library carries its model inside it.
file(READ "${INPUT}" bytes HEX)
string(LENGTH "${bytes}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}" "// Made at build time from ${NAME}; not to be edited.\n#include <cstddef>\nnamespace diagram {\nextern const unsigned char ${SYMBOL}[];\nextern const std::size_t ${SYMBOL}Size;\nalignas(16) const unsigned char ${SYMBOL}[] = {\n${bytes}\n};\nconst std::size_t ${SYMBOL}Size = ${size};\n}\n")
