# Helpers that give every project target the same language level, warnings and test environment.

function(dovrin_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# dovrin_library(NAME SOURCES ... LIBS ...): one library per folder. Headers are included by their path from
# the source root ("app/store/NoteStore.h"), which every target has on its include path.
function(dovrin_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
    dovrin_warnings(${name})
endfunction()

# dovrin_test(NAME SOURCES ... LIBS ... [TIMEOUT s] [LABELS ...]): one Qt Test executable run by CTest.
# Every test gets its own home, data and config folders so that nothing ever touches the user's notes.
function(dovrin_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    dovrin_warnings(${name})
    add_test(NAME ${name} COMMAND ${name})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set(home ${CMAKE_BINARY_DIR}/test-homes/${name})
    file(MAKE_DIRECTORY ${home}/home)
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${ARG_TIMEOUT}
        LABELS "${ARG_LABELS}"
        ENVIRONMENT "HOME=${home}/home;DOVRIN_HOME=${home}/data;XDG_CONFIG_HOME=${home}/config;XDG_DATA_HOME=${home}/share;QT_QPA_PLATFORM=offscreen;QTWEBENGINE_CHROMIUM_FLAGS=--no-sandbox --disable-gpu;QTWEBENGINE_DISABLE_SANDBOX=1;DOVRIN_BUILD_DIR=${CMAKE_BINARY_DIR};DOVRIN_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()

# dovrin_folder_tests(PREFIX TESTS ... [HELPERS ...] LIBS ...): each of TESTS (a <name>.cpp in this folder) is
# one test executable named <prefix>_<name>, with the folder's HELPERS (shared test code) built into each.
function(dovrin_folder_tests prefix)
    cmake_parse_arguments(ARG "" "TIMEOUT" "TESTS;HELPERS;LIBS" ${ARGN})
    set(extra)
    if(ARG_TIMEOUT)
        set(extra TIMEOUT ${ARG_TIMEOUT})
    endif()
    foreach(test ${ARG_TESTS})
        dovrin_test(${prefix}_${test} SOURCES ${test}.cpp ${ARG_HELPERS} LIBS ${ARG_LIBS} ${extra})
    endforeach()
endfunction()
