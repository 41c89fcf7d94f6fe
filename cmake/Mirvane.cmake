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
# program per *_test.cpp in the calling folder (or per file in FILES),
# compiled with DEFINITIONS and linked against the whole core and DEPS, each
# case registered with ctest. Programs named in MIRVANE_LINUX_ONLY_TESTS and
# cases in MIRVANE_LINUX_ONLY_CASES (they drive Linux-only tools) are left out
# of the Windows build. Windows programs run under the Wine of
# CMAKE_CROSSCOMPILING_EMULATOR and list their cases when ctest starts, so
# that building never starts Wine.
function(mirvane_tests)
    cmake_parse_arguments(ARG "" "" "FILES;DEFINITIONS;DEPS" ${ARGN})
    if(ARG_FILES)
        list(TRANSFORM ARG_FILES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ OUTPUT_VARIABLE tests)
    else()
        file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
    endif()
    set(discovery POST_BUILD)
    set(filter "*")
    if(WIN32)
        set(discovery PRE_TEST)
        list(JOIN MIRVANE_LINUX_ONLY_CASES ":" linux_only)
        set(filter "*:-${linux_only}")
    endif()
    foreach(test_source ${tests})
        get_filename_component(stem ${test_source} NAME_WE)
        string(REPLACE "_test" "" name ${stem})
        if(WIN32 AND name IN_LIST MIRVANE_LINUX_ONLY_TESTS)
            continue()
        endif()
        set(target test_${name})
        add_executable(${target} ${test_source})
        target_link_libraries(${target} PRIVATE mirvane_core ${ARG_DEPS} mirvane_testing
                                                GTest::gtest_main GTest::gmock)
        target_compile_definitions(${target} PRIVATE ${ARG_DEFINITIONS})
        set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
        gtest_discover_tests(${target}
            WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
            DISCOVERY_TIMEOUT 60
            DISCOVERY_MODE ${discovery}
            TEST_FILTER "${filter}")
    endforeach()
endfunction()

if(MIRVANE_FUZZ)
    # Coverage instrumentation for everything the fuzz targets link.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
