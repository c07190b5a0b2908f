# The font tool cardwright-makefdb (the only user of FreeType) and the fonts it makes for the build tree:
# data/Font/<face>.fdb from DejaVu's regular face and data/Font/_<face>.fdb from its bold one.
find_package(Freetype REQUIRED)

add_library(cw_fdbmaker STATIC ${CMAKE_CURRENT_LIST_DIR}/fdb_maker.cpp)
target_include_directories(cw_fdbmaker PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_compile_options(cw_fdbmaker PRIVATE ${CW_WARNINGS})
target_link_libraries(cw_fdbmaker PUBLIC cw_swf PRIVATE Freetype::Freetype)

add_executable(cardwright-makefdb ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_compile_options(cardwright-makefdb PRIVATE ${CW_WARNINGS})
target_link_libraries(cardwright-makefdb PRIVATE cw_fdbmaker)

set(CW_DEJAVU_DIR /usr/share/fonts/truetype/dejavu CACHE PATH "Folder of the DejaVu fonts (fonts-dejavu-core)")
set(cw_font_files)
foreach(pair "Sans;DejaVuSans" "Serif;DejaVuSerif" "Mono;DejaVuSansMono")
    list(GET pair 0 face)
    list(GET pair 1 file)
    foreach(variant "${face}.fdb;${file}.ttf" "_${face}.fdb;${file}-Bold.ttf")
        list(GET variant 0 fdb)
        list(GET variant 1 ttf)
        add_custom_command(
            OUTPUT ${CW_BUILD_DATA_DIR}/Font/${fdb}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CW_BUILD_DATA_DIR}/Font
            COMMAND cardwright-makefdb ${CW_DEJAVU_DIR}/${ttf} ${CW_BUILD_DATA_DIR}/Font/${fdb}
            DEPENDS cardwright-makefdb ${CW_DEJAVU_DIR}/${ttf}
            COMMENT "Making Font/${fdb} from ${ttf}"
            VERBATIM)
        list(APPEND cw_font_files ${CW_BUILD_DATA_DIR}/Font/${fdb})
    endforeach()
endforeach()
add_custom_target(cw_fonts ALL DEPENDS ${cw_font_files})
add_dependencies(cw_data cw_fonts)
