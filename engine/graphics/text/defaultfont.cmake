# The built-in font: the bytes of assets/fonts/default.mvec compiled into
# graphics_text, so the engine builds without FreeType.
set(default_font_file ${CMAKE_SOURCE_DIR}/assets/fonts/default.mvec)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${default_font_file})
file(READ ${default_font_file} default_font_hex HEX)
string(LENGTH "${default_font_hex}" default_font_hex_length)
math(EXPR default_font_size "${default_font_hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," default_font_bytes "${default_font_hex}")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/defaultfont.cpp CONTENT
"// Made by the build from assets/fonts/default.mvec.
#include \"graphics/text/defaultfont.h\"

const uint8_t kDefaultFontData[] = {${default_font_bytes}};
const size_t kDefaultFontSize = ${default_font_size};
")
target_sources(graphics_text PRIVATE ${CMAKE_BINARY_DIR}/generated/defaultfont.cpp)
