# Shared build settings and helper functions for every folder.
include(GoogleTest)

set(CW_WARNINGS -Wall -Wextra)

if(CW_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# In the fuzzing build every library carries coverage instrumentation, so a fuzzer sees the branches of
# the code it drives and not only its entry point.
if(CW_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# cw_library(name SOURCES ... DEPS ...): a static library of one folder, warnings on, the repository's
# src/ folder on the include path so headers are included as "model/card_info.h".
function(cw_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_compile_options(${name} PRIVATE ${CW_WARNINGS})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# cw_test(name SOURCES ... DEPS ...): one GoogleTest program registered with ctest. Tests run with
# CARDWRIGHT_HOME pointing at the build tree's data and CW_TEST_SOURCE_DIR at the repository. Each case
# may write movies under CW_TEST_BINARY_DIR/test-movies/, so each is a setup of the fixture
# cw_test_movies: the independent parser check (tests/e2e) runs after all of them.
function(cw_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE ${CW_WARNINGS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_compile_definitions(${name} PRIVATE
        CW_TEST_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        CW_TEST_BINARY_DIR="${PROJECT_BINARY_DIR}"
        CW_TEST_DATA_DIR="${CW_BUILD_DATA_DIR}")
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
    add_dependencies(${name} cw_data)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "CARDWRIGHT_HOME=${CW_BUILD_DATA_DIR}" FIXTURES_SETUP cw_test_movies
        LABELS "${ARG_LABELS}")
endfunction()

# cw_fuzzer(name SOURCES ... DEPS ... CORPUS dir): a libFuzzer target when CW_FUZZ is on; otherwise the
# same entry point linked with a small main that replays every file of the corpus, registered as a test.
function(cw_fuzzer name)
    cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;DEPS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS})
    if(CW_FUZZ)
        target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    else()
        target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/fuzz/replay_main.cpp)
        add_test(NAME ${name}.replay COMMAND ${name} ${ARG_CORPUS})
    endif()
endfunction()

# cw_benchmark(name SOURCES ... DEPS ...): a Google Benchmark program; benchmarks print figures and
# are never run as tests.
function(cw_benchmark name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    find_package(benchmark REQUIRED)
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
    target_compile_options(${name} PRIVATE ${CW_WARNINGS})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark)
    add_dependencies(${name} cw_data)
endfunction()

# Adds every subfolder of the current folder that has a CMakeLists.txt.
function(cw_add_subfolders)
    file(GLOB children RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
    list(SORT children)
    foreach(child ${children})
        if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
            add_subdirectory(${child})
        endif()
    endforeach()
endfunction()

# cw_qt_test(name SOURCES ... DEPS ... [LABELS ...]): a GoogleTest program for Qt widgets, with a main that
# starts a QApplication (tests/qt_test_main.cpp). Runs offscreen, with Qt WebEngine's sandbox off (tests
# run as root in CI), and with the data root and a private work folder set. Nothing when CW_GUI is off.
function(cw_qt_test name)
    if(NOT CW_GUI)
        return()
    endif()
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/qt_test_main.cpp)
    target_compile_options(${name} PRIVATE ${CW_WARNINGS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_compile_definitions(${name} PRIVATE
        CW_TEST_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        CW_TEST_BINARY_DIR="${PROJECT_BINARY_DIR}"
        CW_TEST_DATA_DIR="${CW_BUILD_DATA_DIR}")
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} Qt6::Widgets Qt6::Test GTest::gtest GTest::gmock)
    add_dependencies(${name} cw_data cw_ruffle)
    set(work ${PROJECT_BINARY_DIR}/test-work/${name})
    # Discovery at test time passes the properties through several layers of CMake code: without these
    # escapes the environment list is cut after its first entry.
    set(env "CARDWRIGHT_HOME=${CW_BUILD_DATA_DIR};CARDWRIGHT_WORK=${work};QT_QPA_PLATFORM=offscreen;QTWEBENGINE_DISABLE_SANDBOX=1;XDG_CONFIG_HOME=${work}/config;XDG_RUNTIME_DIR=${work}/runtime")
    string(REPLACE ";" "\\\\\\\\\\\\\\;" env "${env}")
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
        DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "${env}"
            FIXTURES_SETUP cw_test_movies
            LABELS "gui;${ARG_LABELS}")
endfunction()
