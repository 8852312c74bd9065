# Packs the drawn bitmaps and the description into the skin package and writes
# the package as a C++ source: app::ownSkinPackage() returns its bytes.
#   -DPACKER=skin-pack -DART=folder -DDESCRIPTION=ini -DPACKAGE=out.skn -DSOURCE=out.cpp
file(GLOB bitmaps ${ART}/*.bmp)
list(SORT bitmaps)
execute_process(COMMAND ${PACKER} --version 70000 --output ${PACKAGE} ${bitmaps} ${DESCRIPTION}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "skin-pack failed: ${result}")
endif()

file(READ ${PACKAGE} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n    " bytes "${bytes}")
file(WRITE ${SOURCE} "// Made at build time from resources/skin; do not edit.
#include \"app/own_skin.h\"

namespace {
const unsigned char packed[] = {
    ${bytes}
};
} // namespace

QByteArray app::ownSkinPackage() {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(packed), sizeof packed);
}
")
