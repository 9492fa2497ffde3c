# The default skin's pictures, rendered from their SVG sources into the default program folder
# with a transparent background. Sets ORVANEL_SKIN_SOURCES (dependencies) and
# ORVANEL_SKIN_COMMANDS (COMMAND ... entries for the custom command that builds the folder, so
# they run right after orvanel-mkdata has rebuilt it and nothing of theirs is lost).
find_program(RSVG_CONVERT rsvg-convert REQUIRED)

set(_skin_src ${CMAKE_CURRENT_LIST_DIR}/kanami)
set(_skin_out ${ORVANEL_DEFAULT_FOLDER}/kanami)
set(ORVANEL_SKIN_SOURCES
    ${_skin_src}/kanami.svg ${_skin_src}/fellow.svg
    ${_skin_src}/balloon0.svg ${_skin_src}/balloon1.svg)
set(ORVANEL_SKIN_COMMANDS COMMAND ${CMAKE_COMMAND} -E make_directory ${_skin_out})
# kanami.svg holds the seven surfaces side by side in 280-pixel cells.
foreach(n RANGE 1 7)
    math(EXPR _left "-280 * (${n} - 1)")
    list(APPEND ORVANEL_SKIN_COMMANDS COMMAND ${RSVG_CONVERT} --page-width 260 --page-height 380
         --left=${_left} -o ${_skin_out}/surface${n}.png ${_skin_src}/kanami.svg)
endforeach()
foreach(name fellow balloon0 balloon1)
    list(APPEND ORVANEL_SKIN_COMMANDS
         COMMAND ${RSVG_CONVERT} -o ${_skin_out}/${name}.png ${_skin_src}/${name}.svg)
endforeach()

# The contact sheet of a skin (scripts/contact-sheet.sh).
add_executable(orvanel-contact-sheet ${CMAKE_CURRENT_LIST_DIR}/contact_sheet.cpp)
target_link_libraries(orvanel-contact-sheet PRIVATE orvanel_character orvanel_options)
set_target_properties(orvanel-contact-sheet PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
