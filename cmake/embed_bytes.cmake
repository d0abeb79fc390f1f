# cmake -DINPUT=FILE -DOUTPUT=FILE.inc -P embed_bytes.cmake
# Writes FILE's bytes as a comma-separated list of hex literals, for an array initialiser, so an
# asset stays one file in the tree and the program still carries its bytes. The output is only
# rewritten when it changes, so an unchanged asset recompiles nothing.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Twenty bytes a line keeps the file readable in a diff tool.
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){20})" "\\1\n" bytes "${bytes}")
set(content "// Generated from ${INPUT} by cmake/embed_bytes.cmake.\n${bytes}\n")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL content)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${content}")
