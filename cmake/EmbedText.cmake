# cmake -DINPUT=file -DOUTPUT=file.cpp -DNAME=symbol -DNAMESPACE=ns -P EmbedText.cmake
# Writes a C++ source defining `extern const char* const NAME`, the bytes of
# INPUT and a terminating NUL, so that a program carries a text file within.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(([^,]+,){24})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.new"
  "// Made from ${INPUT} by EmbedText.cmake.\n"
  "namespace ${NAMESPACE} {\nnamespace {\nconst unsigned char bytes[] = {\n${bytes}0};\n}\n"
  "extern const char* const ${NAME};\nconst char* const ${NAME} = reinterpret_cast<const char*>(bytes);\n}\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
