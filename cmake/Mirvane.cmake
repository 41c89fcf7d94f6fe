# Project-wide compile settings and the helpers every folder uses.

add_library(mirvane_options INTERFACE)
target_compile_options(mirvane_options INTERFACE -Wall -Wextra -Wpedantic)
if(MIRVANE_WERROR)
    target_compile_options(mirvane_options INTERFACE -Werror)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        # GCC 12 at -O2 and -O3 reports overlapping copies and uninitialised
        # members inside std::string's own code (known false positives, gone
        # in GCC 13): kept as warnings.
        target_compile_options(mirvane_options INTERFACE -Wno-error=restrict
                                                         -Wno-error=maybe-uninitialized)
    endif()
endif()
if(MIRVANE_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# mirvane_library(NAME DEPS ...): a static library of every .cpp in the calling folder.
function(mirvane_library name)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(NOT sources)
        add_library(${name} INTERFACE)  # a folder not yet written
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${name} INTERFACE mirvane_options ${ARG_DEPS})
        return()
    endif()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC mirvane_options ${ARG_DEPS})
endfunction()

# mirvane_tests([FILES ...] [DEFINITIONS ...] [DEPS ...]): one GoogleTest
# program for the calling folder, test_<folder>, made of its *_test.cpp (or of
# FILES), compiled with DEFINITIONS and linked against the whole core and
# DEPS, each case registered with ctest. One program a folder, compiled as one
# unit, spares the build compiling GoogleTest's and the core's headers, and
# linking the sanitizers or the static runtime, once for every file. Files
# named in MIRVANE_LINUX_ONLY_TESTS (without _test.cpp) and cases in
# MIRVANE_LINUX_ONLY_CASES (they drive Linux-only tools) are left out of the
# Windows build. Windows programs run under the Wine of
# CMAKE_CROSSCOMPILING_EMULATOR and list their cases when ctest starts, so
# that building never starts Wine; without that Wine, each program stands as
# one skipped case.
function(mirvane_tests)
    cmake_parse_arguments(ARG "" "" "FILES;DEFINITIONS;DEPS" ${ARGN})
    if(ARG_FILES)
        list(TRANSFORM ARG_FILES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ OUTPUT_VARIABLE files)
    else()
        file(GLOB files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
    endif()
    set(discovery POST_BUILD)
    set(filter "*")
    if(WIN32)
        set(discovery PRE_TEST)
        list(JOIN MIRVANE_LINUX_ONLY_CASES ":" linux_only)
        set(filter "*:-${linux_only}")
    endif()
    set(tests)
    foreach(test_source ${files})
        get_filename_component(stem ${test_source} NAME_WE)
        string(REPLACE "_test" "" name ${stem})
        if(WIN32 AND name IN_LIST MIRVANE_LINUX_ONLY_TESTS)
            continue()
        endif()
        list(APPEND tests ${test_source})
    endforeach()
    if(NOT tests)
        return()
    endif()
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    set(target test_${folder})
    add_executable(${target} ${tests})
    target_link_libraries(${target} PRIVATE mirvane_core ${ARG_DEPS} mirvane_testing
                                            GTest::gtest_main GTest::gmock)
    target_compile_definitions(${target} PRIVATE ${ARG_DEFINITIONS})
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests
                                               UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 0)
    if(WIN32 AND NOT MIRVANE_WINE)
        mirvane_wine_missing(${target})
        return()
    endif()
    gtest_discover_tests(${target}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        DISCOVERY_TIMEOUT 60
        DISCOVERY_MODE ${discovery}
        TEST_FILTER "${filter}")
endfunction()

# mirvane_wine_missing(NAME): a ctest case NAME, in place of a Windows test
# that cannot run because this build's Wine is missing (32-bit Wine, from
# Debian's i386 architecture): reported as skipped, saying why, never as
# passed.
function(mirvane_wine_missing name)
    add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/tests/win/wine32-missing ${name})
    set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77)
endfunction()

if(MIRVANE_FUZZ)
    # Coverage instrumentation for everything the fuzz targets link.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
