# The built-in font: the bytes of assets/fonts/default.mvec compiled into
# graphics_text, so the engine builds without FreeType.
vandermoot_embed_file(graphics_text ${CMAKE_SOURCE_DIR}/assets/fonts/default.mvec
                      graphics/text/defaultfont.h kDefaultFont)
