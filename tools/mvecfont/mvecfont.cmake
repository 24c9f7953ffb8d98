# The font converter, built when FreeType is there: mvecfont FONT OUTPUT [RANGES].
find_package(Freetype)
if(FREETYPE_FOUND)
  add_library(mvecfont_converter STATIC ${CMAKE_SOURCE_DIR}/tools/mvecfont/fontconverter.cpp)
  target_link_libraries(mvecfont_converter PUBLIC Freetype::Freetype graphics_text)
  add_executable(mvecfont ${CMAKE_SOURCE_DIR}/tools/mvecfont/main.cpp)
  target_link_libraries(mvecfont PRIVATE mvecfont_converter)
endif()
