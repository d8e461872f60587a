# Helpers that give every project target the same language level, warnings and test environment.

function(dovrin_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# Sources come from folder globs. Qt's autogen step would not notice a header added later (its dependency
# file lists only the headers it saw), so when a target's sources change its autogen stamp is dropped.
function(dovrin_autogen_follows_sources target)
    get_target_property(sources ${target} SOURCES)
    string(JOIN "\n" listing ${sources})
    set(listing_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_sources.txt)
    set(previous "")
    if(EXISTS ${listing_file})
        file(READ ${listing_file} previous)
    endif()
    if(NOT previous STREQUAL listing)
        file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/timestamp)
        file(WRITE ${listing_file} "${listing}")
    endif()
endfunction()

# dovrin_library(NAME LIBS ...): one library per folder, built from every source in it; its headers are
# found by file name.
function(dovrin_library name)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
         ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    add_library(${name} STATIC ${sources})
    dovrin_autogen_follows_sources(${name})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
    dovrin_warnings(${name})
endfunction()

# dovrin_test(NAME SOURCES ... LIBS ... [TIMEOUT s] [LABELS ...]): one Qt Test executable run by CTest.
# Every test gets its own data and config folders so that nothing ever touches the user's notes.
function(dovrin_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    dovrin_autogen_follows_sources(${name})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
    dovrin_warnings(${name})
    add_test(NAME ${name} COMMAND ${name})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set(home ${CMAKE_BINARY_DIR}/test-homes/${name})
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${ARG_TIMEOUT}
        LABELS "${ARG_LABELS}"
        ENVIRONMENT "DOVRIN_HOME=${home}/data;XDG_CONFIG_HOME=${home}/config;XDG_DATA_HOME=${home}/share;QT_QPA_PLATFORM=offscreen;QTWEBENGINE_CHROMIUM_FLAGS=--no-sandbox --disable-gpu;QTWEBENGINE_DISABLE_SANDBOX=1;DOVRIN_BUILD_DIR=${CMAKE_BINARY_DIR};DOVRIN_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()

# dovrin_folder_tests(PREFIX LIBS ...): every *Test.cpp in this folder is one test executable named
# <prefix>_<file name>, with the folder's other .cpp files (shared test helpers) built into each.
function(dovrin_folder_tests prefix)
    cmake_parse_arguments(ARG "" "TIMEOUT" "LIBS" ${ARGN})
    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp)
    file(GLOB helpers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    list(REMOVE_ITEM helpers ${tests})
    foreach(test ${tests})
        get_filename_component(stem ${test} NAME_WE)
        set(extra)
        if(ARG_TIMEOUT)
            set(extra TIMEOUT ${ARG_TIMEOUT})
        endif()
        dovrin_test(${prefix}_${stem} SOURCES ${test} ${helpers} LIBS ${ARG_LIBS} ${extra})
    endforeach()
endfunction()
