# The image generator, run by the build: it draws the game's interface images
# into the build's assets (which the source tree's .gitignore files keep out
# of version control).
add_executable(makeimages
               ${CMAKE_SOURCE_DIR}/tools/makeimages/main.cpp
               ${CMAKE_SOURCE_DIR}/tools/makeimages/backdrop.cpp
               ${CMAKE_SOURCE_DIR}/tools/makeimages/canvas.cpp
               ${CMAKE_SOURCE_DIR}/tools/makeimages/chocolates.cpp
               ${CMAKE_SOURCE_DIR}/tools/makeimages/customers.cpp
               ${CMAKE_SOURCE_DIR}/tools/makeimages/framesheet.cpp
               ${CMAKE_SOURCE_DIR}/tools/makeimages/helppictures.cpp
               ${CMAKE_SOURCE_DIR}/tools/makeimages/machines.cpp
               ${CMAKE_SOURCE_DIR}/tools/makeimages/medals.cpp
               ${CMAKE_SOURCE_DIR}/tools/makeimages/player.cpp
               ${CMAKE_SOURCE_DIR}/tools/makeimages/plot.cpp
               ${CMAKE_SOURCE_DIR}/tools/makeimages/pngwriter.cpp
               ${CMAKE_SOURCE_DIR}/tools/makeimages/servingmachines.cpp
               ${CMAKE_SOURCE_DIR}/tools/makeimages/shopfloor.cpp
               ${CMAKE_SOURCE_DIR}/tools/makeimages/stations.cpp
               ${CMAKE_SOURCE_DIR}/tools/makeimages/upgradeshop.cpp
               ${CMAKE_SOURCE_DIR}/tools/makeimages/worldmap.cpp)
target_link_libraries(makeimages PRIVATE PNG::PNG)

set(generated_images
    ${CMAKE_BINARY_DIR}/assets/cursor/chocolate_cursor_2.png
    ${CMAKE_BINARY_DIR}/assets/ui/buttons/oval_lt_blue_up.png
    ${CMAKE_BINARY_DIR}/assets/ui/buttons/oval_lt_blue_down.png
    ${CMAKE_BINARY_DIR}/assets/ui/buttons/oval_lt_blue_over.png
    ${CMAKE_BINARY_DIR}/assets/ui/buttons/oval_lt_blue_disabled.png
    ${CMAKE_BINARY_DIR}/assets/ui/buttons/tutorial_over.png
    ${CMAKE_BINARY_DIR}/assets/ui/backgrounds/split9_dialog_small.png
    ${CMAKE_BINARY_DIR}/assets/ui/backgrounds/dialog_panel.png
    ${CMAKE_BINARY_DIR}/assets/ui/backgrounds/title_backdrop.png
    ${CMAKE_BINARY_DIR}/assets/ui/buttons/check_off.png
    ${CMAKE_BINARY_DIR}/assets/ui/buttons/radio_off.png
    ${CMAKE_BINARY_DIR}/assets/ui/options/fill_bar.png
    ${CMAKE_BINARY_DIR}/assets/ui/help/page_9.png
    ${CMAKE_BINARY_DIR}/assets/ui/chocolates/heart_dark.png
    ${CMAKE_BINARY_DIR}/assets/shop/chocolates/infusion_topping_2.png
    ${CMAKE_BINARY_DIR}/assets/shop/customers/drink_cup.png
    ${CMAKE_BINARY_DIR}/assets/shop/player/idle_stretch.xml
    ${CMAKE_BINARY_DIR}/assets/ui/rewards/top_box.png
    ${CMAKE_BINARY_DIR}/assets/shop/stations/counter_top_upgrade2.png
    ${CMAKE_BINARY_DIR}/assets/shop/machines/press_base.png
    ${CMAKE_BINARY_DIR}/assets/shop/machines/press_fill.xml
    ${CMAKE_BINARY_DIR}/assets/shop/floor.png
    ${CMAKE_BINARY_DIR}/assets/shop/hud/gauge_anger.png
    ${CMAKE_BINARY_DIR}/assets/shop/machines/icon_infusion_2.png
    ${CMAKE_BINARY_DIR}/assets/ui/plot/continue_down.png
    ${CMAKE_BINARY_DIR}/assets/ui/upgrades/thumb_station.png
    ${CMAKE_BINARY_DIR}/assets/shop/background/steam.xml
    ${CMAKE_BINARY_DIR}/assets/anim/machines/delivery/zepp_pickup.xml
    ${CMAKE_BINARY_DIR}/assets/ui/map/pin_badge.xml)
# Each location's back wall in its three looks and its counter.
foreach(location grytviken namche krakatoa kamchatka iquitos gaberoun)
    foreach(picture wall wall_upgrade1 wall_upgrade2 counter)
        list(APPEND generated_images ${CMAKE_BINARY_DIR}/assets/shop/background/${location}/${picture}.png)
    endforeach()
endforeach()
add_custom_command(OUTPUT ${generated_images}
                   COMMAND makeimages ${CMAKE_BINARY_DIR}/assets
                   DEPENDS makeimages
                   COMMENT "Drawing the game's interface images")
add_custom_target(images ALL DEPENDS ${generated_images})
