# The writing half of the movie library, included by this folder's CMakeLists.txt: the movie and its
# characters, the tag writers, and the .fdb, .dbl and JPEG loaders.
target_sources(cw_swf PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/action.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bit_writer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bitmap.cpp
    ${CMAKE_CURRENT_LIST_DIR}/button.cpp
    ${CMAKE_CURRENT_LIST_DIR}/byte_reader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dbl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fdb.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_bytes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/font.cpp
    ${CMAKE_CURRENT_LIST_DIR}/jpeg_info.cpp
    ${CMAKE_CURRENT_LIST_DIR}/movie.cpp
    ${CMAKE_CURRENT_LIST_DIR}/prebuilt_clip.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shape.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/utf8.cpp
    ${CMAKE_CURRENT_LIST_DIR}/writer.cpp)
