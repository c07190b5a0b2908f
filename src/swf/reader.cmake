# The reading half of the movie library, included by this folder's CMakeLists.txt: the SWF reader, clip
# import, the Flash test load, tag names, and the font tool cardwright-makefdb with the fonts it makes.
target_sources(cw_swf PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/byte_reader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/swf_records.cpp
    ${CMAKE_CURRENT_LIST_DIR}/swf_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tag_code.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tag_writer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/character_ids.cpp
    ${CMAKE_CURRENT_LIST_DIR}/clip_import.cpp
    ${CMAKE_CURRENT_LIST_DIR}/flash_test_load.cpp
    ${CMAKE_CURRENT_LIST_DIR}/swf_dump.cpp)
target_link_libraries(cw_swf PUBLIC ZLIB::ZLIB)

include(${CMAKE_CURRENT_LIST_DIR}/makefdb/makefdb.cmake)
