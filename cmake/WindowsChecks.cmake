# The Windows side, checked on Linux: every Windows source and every shared platform source is
# parsed by mingw-w64 against Qt's headers (there is no Qt for Windows here, so nothing Qt-side
# links), and the Qt-free Win32 layer is built with mingw-w64 into a program run under Wine in a
# private prefix made once per test run.

find_program(MINGW_CXX x86_64-w64-mingw32-g++-posix)
# Debian keeps the 64-bit loader out of PATH.
find_program(WINE64 wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(WINE64 wine64)
find_program(WINESERVER NAMES wineserver64 wineserver PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(WINESERVER NAMES wineserver)

if(NOT MINGW_CXX OR NOT WINE64 OR NOT WINESERVER)
    # A missing tool fails the run instead of skipping the checks quietly.
    add_test(NAME windows_tools COMMAND sh -c
        "echo 'mingw-w64 or Wine is missing: run scripts/install-deps.sh --test' >&2; exit 1")
    return()
endif()

# Warnings are errors here too. Qt's headers are system headers: parsed for Windows they warn
# about their own dllimport declarations.
set(qt_dirs)
foreach(module Core Gui Widgets DBus)
    get_target_property(dirs Qt6::${module} INTERFACE_INCLUDE_DIRECTORIES)
    list(APPEND qt_dirs ${dirs})
endforeach()
list(REMOVE_DUPLICATES qt_dirs)
set(windows_flags -std=c++20 -Wall -Wextra -Werror -I${CMAKE_SOURCE_DIR}/src)
foreach(dir ${qt_dirs})
    list(APPEND windows_flags -isystem ${dir})
endforeach()

file(GLOB_RECURSE windows_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*_win.cpp)
# The Win32 layer needs no check of its own: its test program below compiles it whole.
file(GLOB shared_platform_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/*.cpp)
list(FILTER shared_platform_sources EXCLUDE REGEX "_(unix|win)\\.cpp$")
foreach(source ${windows_sources} ${shared_platform_sources})
    file(RELATIVE_PATH name ${CMAKE_SOURCE_DIR}/src ${source})
    string(REGEX REPLACE "[/.]" "_" name ${name})
    # Definitions a source gets from its own folder's build file (the install folder, say).
    get_filename_component(folder ${source} DIRECTORY)
    get_source_file_property(definitions ${source} DIRECTORY ${folder} COMPILE_DEFINITIONS)
    set(defines)
    if(definitions)
        foreach(definition ${definitions})
            list(APPEND defines -D${definition})
        endforeach()
    endif()
    add_test(NAME windows_syntax_${name}
             COMMAND ${MINGW_CXX} ${windows_flags} ${defines} -fsyntax-only ${source})
    set_tests_properties(windows_syntax_${name} PROPERTIES LABELS windows)
endforeach()

# The layer's test program, linked statically so Wine needs no mingw runtime.
file(GLOB win32_layer CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/win32/*.cpp)
file(GLOB win32_headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/win32/*.h)
set(win32_test_source ${CMAKE_SOURCE_DIR}/tests/win32/tst_Win32Layer.cpp)
set(win32_test_exe ${CMAKE_BINARY_DIR}/tests/win32/tst_Win32Layer.exe)
add_custom_command(
    OUTPUT ${win32_test_exe}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/tests/win32
    COMMAND ${MINGW_CXX} -std=c++20 -O1 -Wall -Wextra -Werror -static -I${CMAKE_SOURCE_DIR}/src
            ${win32_test_source} ${win32_layer} -lole32 -luuid -o ${win32_test_exe}
    DEPENDS ${win32_test_source} ${win32_layer} ${win32_headers}
    COMMENT "Building the Win32 layer's test program with mingw-w64"
    VERBATIM)
add_custom_target(win32_layer_test ALL DEPENDS ${win32_test_exe})

set(wine_prefix ${CMAKE_BINARY_DIR}/wine-prefix)
set(wine_scripts ${CMAKE_SOURCE_DIR}/tests/win32)
add_test(NAME win32_prefix_setup COMMAND ${wine_scripts}/wine-prefix.sh setup ${wine_prefix} ${WINE64} ${WINESERVER})
add_test(NAME win32_prefix_cleanup COMMAND ${wine_scripts}/wine-prefix.sh cleanup ${wine_prefix} ${WINE64} ${WINESERVER})
set_tests_properties(win32_prefix_setup PROPERTIES FIXTURES_SETUP wine LABELS windows TIMEOUT 300)
set_tests_properties(win32_prefix_cleanup PROPERTIES FIXTURES_CLEANUP wine LABELS windows)
foreach(part layer registry codepage932)
    add_test(NAME win32_${part}
             COMMAND ${wine_scripts}/run-wine-tests.sh ${part} ${wine_prefix} ${WINE64} ${win32_test_exe})
    set_tests_properties(win32_${part} PROPERTIES FIXTURES_REQUIRED wine LABELS windows TIMEOUT 300)
endforeach()
