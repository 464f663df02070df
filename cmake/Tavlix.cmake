# One static library per src/ folder. Sources are globbed so that adding a file needs no
# edit here; *_win.cpp builds only on Windows and *_unix.cpp everywhere else.
function(tavlix_library name)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    if(WIN32)
        list(FILTER sources EXCLUDE REGEX "_unix\\.cpp$")
    else()
        list(FILTER sources EXCLUDE REGEX "_win\\.cpp$")
    endif()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE tavlix_options)
endfunction()

# Every tests/<folder>/tst_*.cpp becomes one executable and one CTest test.
# Tests named tst_x11_* need a real X server: the test script provides Xvfb for them.
function(tavlix_tests)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    foreach(src ${tests})
        get_filename_component(tname ${src} NAME_WE)
        set(target ${folder}_${tname})
        add_executable(${target} ${src})
        target_link_libraries(${target} PRIVATE ${ARG_DEPS} testsupport testdefaults Qt6::Test tavlix_options)
        set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/${folder})
        add_test(NAME ${target} COMMAND ${target})
        # Each test gets its own config, data and cache folders and a desktop that only logs,
        # so no test can touch the user's real settings or background.
        set(home ${CMAKE_BINARY_DIR}/testhome/${target})
        file(MAKE_DIRECTORY ${home}/config ${home}/data ${home}/cache)
        set(env "LANG=C.UTF-8" "XDG_CONFIG_HOME=${home}/config" "XDG_DATA_HOME=${home}/data"
            "XDG_CACHE_HOME=${home}/cache"
            "TAVELVAXLAREN_DESKTOP=log:${home}/wallpaper.log"
            "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp")
        if(tname MATCHES "^tst_x11_")
            set_tests_properties(${target} PROPERTIES LABELS x11 RESOURCE_LOCK xserver)
            list(APPEND env "QT_QPA_PLATFORM=xcb")
        else()
            list(APPEND env "QT_QPA_PLATFORM=offscreen")
        endif()
        set_tests_properties(${target} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 120)
    endforeach()
endfunction()
