# Third-party libraries as the same targets on both sides: Debian's packages
# for the Linux build; for the Windows build, libxml2 from
# tools/build-libxml2-windows and fmt and CLI11 header-only from Debian's headers.

if(NOT WIN32)
    find_package(LibXml2 REQUIRED)
    find_package(fmt REQUIRED)
    find_package(CLI11 REQUIRED)
    if(MIRVANE_TESTS)
        find_package(GTest REQUIRED)
    endif()
    return()
endif()

set(MIRVANE_LIBXML2_WINDOWS
    ${PROJECT_SOURCE_DIR}/build/deps/libxml2-${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32
    CACHE PATH "libxml2 built for Windows by tools/build-libxml2-windows")
if(NOT EXISTS ${MIRVANE_LIBXML2_WINDOWS}/lib/libxml2.a)
    message(FATAL_ERROR "No libxml2 for Windows in ${MIRVANE_LIBXML2_WINDOWS}: "
                        "run tools/build-libxml2-windows ${CMAKE_SYSTEM_PROCESSOR}")
endif()
add_library(LibXml2::LibXml2 STATIC IMPORTED)
set_target_properties(LibXml2::LibXml2 PROPERTIES
    IMPORTED_LOCATION ${MIRVANE_LIBXML2_WINDOWS}/lib/libxml2.a
    INTERFACE_INCLUDE_DIRECTORIES ${MIRVANE_LIBXML2_WINDOWS}/include/libxml2
    INTERFACE_COMPILE_DEFINITIONS LIBXML_STATIC
    INTERFACE_LINK_LIBRARIES ws2_32)

# A folder holding only fmt's and CLI11's headers, so that the cross compiler
# never sees the rest of the host's /usr/include.
set(header_only ${CMAKE_BINARY_DIR}/header-only)
foreach(folder fmt CLI)
    if(NOT EXISTS /usr/include/${folder})
        message(FATAL_ERROR "/usr/include/${folder} is missing: run tools/install-deps")
    endif()
    file(MAKE_DIRECTORY ${header_only})
    file(CREATE_LINK /usr/include/${folder} ${header_only}/${folder} SYMBOLIC)
endforeach()
add_library(fmt::fmt INTERFACE IMPORTED)
set_target_properties(fmt::fmt PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${header_only}
    INTERFACE_COMPILE_DEFINITIONS FMT_HEADER_ONLY)
add_library(CLI11::CLI11 INTERFACE IMPORTED)
set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${header_only})

if(MIRVANE_TESTS)
    # GoogleTest from the sources Debian ships, built with the cross compiler.
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

    # The test programs run under Wine, in the build's own prefix, never the
    # user's: the 64-bit programs under wine64, the 32-bit ones under Wine's
    # 32-bit loader in a 32-bit prefix (WINEARCH=win32), as on a Windows that
    # runs only 32-bit programs. 32-bit Wine comes from Debian's i386
    # architecture and may be missing (tools/install-deps): its tests then
    # stand aside, reported as skipped (tests/win/wine32-missing).
    if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
        set(loader wine64)
        set(prefix wine-prefix)
    else()
        set(loader wine)
        set(prefix wine-prefix-win32)
    endif()
    set(MIRVANE_WINE_PREFIX ${PROJECT_SOURCE_DIR}/build/${prefix}
        CACHE PATH "Wine prefix in which the Windows tests run")
    find_program(MIRVANE_WINE ${loader} PATHS /usr/lib/wine NO_DEFAULT_PATH)
    # The installer is a 32-bit program: on 64-bit Wine too it needs the 32-bit side.
    find_program(MIRVANE_WINE32 wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
    if(MIRVANE_WINE)
        set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/tools/run-under-wine
                                          ${MIRVANE_WINE} ${MIRVANE_WINE_PREFIX})
    endif()
endif()
