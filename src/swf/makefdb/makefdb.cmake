# The font tool cardwright-makefdb (the only user of FreeType) and the fonts it makes for the build tree:
# data/Font/<face>.fdb from DejaVu's regular face and data/Font/_<face>.fdb from its bold one, and the
# fallback faces data/Font/Fallback/<NN>-<name>.fdb, tried in the order of NN for characters the gift's
# face lacks. Each .fdb gets a copy of its source font beside it (same name, .ttf): its OpenType tables
# are what the text shaper reads.
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
# cw_make_fdb(<font file> <path under the data folder>): the .fdb and the copy of its source beside it.
function(cw_make_fdb ttf fdb)
    get_filename_component(dir ${CW_BUILD_DATA_DIR}/${fdb} DIRECTORY)
    string(REGEX REPLACE "\\.fdb$" ".ttf" copy ${CW_BUILD_DATA_DIR}/${fdb})
    add_custom_command(
        OUTPUT ${CW_BUILD_DATA_DIR}/${fdb} ${copy}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
        COMMAND cardwright-makefdb ${ttf} ${CW_BUILD_DATA_DIR}/${fdb}
        COMMAND ${CMAKE_COMMAND} -E copy ${ttf} ${copy}
        DEPENDS cardwright-makefdb ${ttf}
        COMMENT "Making ${fdb} from ${ttf}"
        VERBATIM)
    set(cw_font_files ${cw_font_files} ${CW_BUILD_DATA_DIR}/${fdb} PARENT_SCOPE)
endfunction()
foreach(pair "Sans;DejaVuSans" "Serif;DejaVuSerif" "Mono;DejaVuSansMono")
    list(GET pair 0 face)
    list(GET pair 1 file)
    foreach(variant "${face}.fdb;${file}.ttf" "_${face}.fdb;${file}-Bold.ttf")
        list(GET variant 0 fdb)
        list(GET variant 1 ttf)
        cw_make_fdb(${CW_DEJAVU_DIR}/${ttf} Font/${fdb})
    endforeach()
endforeach()

set(CW_DROID_DIR /usr/share/fonts/truetype/droid CACHE PATH "Folder of fonts-droid-fallback")
set(CW_NANUM_DIR /usr/share/fonts/truetype/nanum CACHE PATH "Folder of fonts-nanum")
set(CW_NOTO_DIR /usr/share/fonts/truetype/noto CACHE PATH "Folder of fonts-noto-core")
# Chinese and Japanese first, Korean (Droid's face has no Hangul syllables), then the other living
# scripts, then symbols.
set(cw_fallbacks ${CW_DROID_DIR}/DroidSansFallbackFull.ttf ${CW_NANUM_DIR}/NanumGothic.ttf)
foreach(script Arabic Hebrew Thai Devanagari Bengali Gurmukhi Gujarati Oriya Tamil Telugu Kannada Malayalam
        Sinhala Khmer Lao Myanmar Georgian Armenian Ethiopic Thaana Syriac Tifinagh Cherokee
        CanadianAboriginal Mongolian Javanese Balinese Sundanese Math Symbols Symbols2)
    list(APPEND cw_fallbacks ${CW_NOTO_DIR}/NotoSans${script}-Regular.ttf)
endforeach()
set(cw_rank 10)
foreach(ttf ${cw_fallbacks})
    get_filename_component(stem ${ttf} NAME_WE)
    cw_make_fdb(${ttf} Font/Fallback/${cw_rank}-${stem}.fdb)
    math(EXPR cw_rank "${cw_rank} + 1")
endforeach()
add_custom_target(cw_fonts ALL DEPENDS ${cw_font_files})
add_dependencies(cw_data cw_fonts)
