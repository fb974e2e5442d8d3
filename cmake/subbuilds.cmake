# The native build drives the other configurations, so that one build and one ctest cover the
# rules (natively), the Windows programs (under Wine) and the fuzz targets (clang).
include(ExternalProject)

option(VANTOR_WINDOWS "Cross-build the Windows programs and run them under Wine" ON)
option(VANTOR_WITH_FUZZ "Build the fuzz targets with clang and run them briefly" ON)

set(VN_SUB_ARGS -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE})

if(VANTOR_WINDOWS)
    find_program(VN_MINGW64 x86_64-w64-mingw32-g++ REQUIRED)
    find_program(VN_MINGW32 i686-w64-mingw32-g++ REQUIRED)
    foreach(arch x86_64 i686)
        ExternalProject_Add(win-${arch}
            SOURCE_DIR ${CMAKE_SOURCE_DIR}
            BINARY_DIR ${CMAKE_BINARY_DIR}/win-${arch}
            CMAKE_ARGS ${VN_SUB_ARGS}
                       -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-${arch}.cmake
            BUILD_ALWAYS ON
            INSTALL_COMMAND ""
            USES_TERMINAL_BUILD ON)
    endforeach()

    # A 64-bit manager starts the 32-bit companion from its own folder: the 32-bit build's
    # companion and library go beside the 64-bit programs, as the installer puts them, and so does
    # the 32-bit sample application for the tests that use both bitnesses.
    set(VN_WIN32_OUT ${CMAKE_BINARY_DIR}/win-i686/bin)
    set(VN_WIN64_OUT ${CMAKE_BINARY_DIR}/win-x86_64/bin)
    add_custom_target(win-pair ALL
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${VN_WIN32_OUT}/vantor32.exe
                ${VN_WIN32_OUT}/vnhook32.dll ${VN_WIN64_OUT}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${VN_WIN32_OUT}/vnsample.exe
                ${VN_WIN64_OUT}/vnsample32.exe
        VERBATIM)
    add_dependencies(win-pair win-x86_64 win-i686)

    add_test(NAME exports.vnhook COMMAND ${CMAKE_SOURCE_DIR}/tools/check-exports.sh
             ${CMAKE_BINARY_DIR}/win-x86_64/bin/vnhook.dll ${CMAKE_SOURCE_DIR}/hook/takeover/vnhook.def.in)
    add_test(NAME exports.vnhook32 COMMAND ${CMAKE_SOURCE_DIR}/tools/check-exports.sh
             ${CMAKE_BINARY_DIR}/win-i686/bin/vnhook32.dll ${CMAKE_SOURCE_DIR}/hook/takeover/vnhook.def.in)

    # Wine system tests: each runs the test manager with one scenario in the build's own prefix
    # and X server. They share one desktop, so they never run at the same time.
    set(VN_WIN64_BIN ${CMAKE_BINARY_DIR}/win-x86_64/bin)
    set(VN_WINE_RUN ${CMAKE_SOURCE_DIR}/tools/wine-run.sh)
    include(${CMAKE_SOURCE_DIR}/tests/wine/scenarios.cmake)
    foreach(test ${VN_WINE_TESTS})
        string(REPLACE "|" ";" parts "${test}")
        list(GET parts 0 program)
        list(GET parts 1 scenario)
        add_test(NAME wine.${program}.${scenario}
                 COMMAND ${VN_WINE_RUN} ${VN_WIN64_BIN}/${program}.exe ${scenario}
                 WORKING_DIRECTORY ${VN_WIN64_BIN})
        set_tests_properties(wine.${program}.${scenario} PROPERTIES
            RESOURCE_LOCK wine-desktop TIMEOUT 240 LABELS wine SKIP_RETURN_CODE 77
            ENVIRONMENT "VN_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix")
    endforeach()

    include(${CMAKE_SOURCE_DIR}/cmake/installer.cmake)
endif()

if(VANTOR_WITH_FUZZ)
    find_program(VN_CLANGXX clang++ REQUIRED)
    ExternalProject_Add(fuzz
        SOURCE_DIR ${CMAKE_SOURCE_DIR}
        BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
        CMAKE_ARGS -DCMAKE_BUILD_TYPE=Debug -DVANTOR_FUZZ=ON -DCMAKE_CXX_COMPILER=${VN_CLANGXX}
                   -DCMAKE_C_COMPILER=clang
        BUILD_ALWAYS ON
        INSTALL_COMMAND "")
    file(GLOB VN_FUZZERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_*.cpp)
    foreach(src ${VN_FUZZERS})
        get_filename_component(name ${src} NAME_WE)
        # A short run on every test pass; longer runs are done by hand with the same binary.
        # New inputs go to a folder of the build; the seeds in the tree stay as they are.
        set(corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
        file(MAKE_DIRECTORY ${corpus})
        add_test(NAME fuzz.${name}
                 COMMAND ${CMAKE_BINARY_DIR}/fuzz/${name} -runs=50000 -max_len=30000
                         ${corpus} ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name})
        set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 300 LABELS fuzz)
    endforeach()
endif()
