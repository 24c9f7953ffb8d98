# The sound generator, run by the build: it writes the game's synthesised
# sounds into the build's assets (which the source tree's .gitignore keeps
# out of version control).
add_executable(makesounds ${CMAKE_SOURCE_DIR}/tools/makesounds/main.cpp
               ${CMAKE_SOURCE_DIR}/tools/makesounds/oggencoder.cpp ${CMAKE_SOURCE_DIR}/tools/makesounds/synth.cpp)
target_link_libraries(makesounds PRIVATE PkgConfig::VORBISENC PkgConfig::VORBISFILE)

set(generated_sounds ${CMAKE_BINARY_DIR}/assets/audio/music/theme.ogg ${CMAKE_BINARY_DIR}/assets/audio/sfx/click.ogg)
# Each location's music.
foreach(location grytviken namche krakatoa kamchatka iquitos gaberoun)
    list(APPEND generated_sounds ${CMAKE_BINARY_DIR}/assets/audio/music/${location}.ogg)
endforeach()
# The shop's and the machines' effects.
foreach(effect
        menu
        customer_leaves
        chomp
        score_board
        goal
        master
        customer_arrives
        pickup_drop
        buttonclick
        robot_arm
        robot_arm_2
        spray
        stamp
        barrel_trap_door
        machine_noise
        glug_machine
        topping_machine
        topping
        infusion_machine
        purchase_upgrade_button
        sauce_arm_extend
        sauce_clink
        sauce_spray
        sauce_arm_retract
        box_station
        pickup_zepplin
        zepplin_loop
        disposal)
    list(APPEND generated_sounds ${CMAKE_BINARY_DIR}/assets/audio/sfx/${effect}.ogg)
endforeach()
add_custom_command(OUTPUT ${generated_sounds}
                   COMMAND makesounds ${CMAKE_BINARY_DIR}/assets/audio
                   DEPENDS makesounds
                   COMMENT "Synthesising the game's sounds")
add_custom_target(sounds ALL DEPENDS ${generated_sounds})
