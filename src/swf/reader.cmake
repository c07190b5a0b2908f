# The reading half of the movie library, included by this folder's CMakeLists.txt: the SWF reader, clip
# import, the Flash test load, tag names, and the font tool cardwright-makefdb with the fonts it makes.
# Its sources are picked up with the rest of the folder's .cpp files.

include(${CMAKE_CURRENT_LIST_DIR}/makefdb/makefdb.cmake)

# In the fuzzing build the library itself carries coverage instrumentation, so the fuzzer sees the
# reader's branches and not only its entry point.
if(CW_FUZZ AND CW_SANITIZE)
    target_compile_options(cw_swf PRIVATE -fsanitize=fuzzer-no-link)
endif()
