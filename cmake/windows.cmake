# The Windows deliverables (cross-built with mingw-w64, or with MSVC).
enable_language(RC)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(VN_HOOK_NAME vnhook32) # each bitness needs its own library file
else()
    set(VN_HOOK_NAME vnhook)
endif()

if(NOT MSVC)
    # No C++ exception may cross a Win32 callback in someone else's process: build without them.
    add_compile_options(-fno-exceptions -fno-rtti)
    add_link_options(-static-libgcc -static-libstdc++ -static)
endif()
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)

add_library(vncore STATIC ${VN_RULE_SOURCES})
target_include_directories(vncore PUBLIC ${CMAKE_SOURCE_DIR})

# Exports keep their plain names on both bitnesses. The 32-bit import library must map the
# decorated stdcall names to them, so the .def lists them decorated and the 64-bit copy drops it.
file(READ ${CMAKE_SOURCE_DIR}/hook/takeover/vnhook.def.in VN_DEF)
string(REPLACE "@LIBRARY@" "${VN_HOOK_NAME}" VN_DEF "${VN_DEF}")
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4 OR MSVC)
    string(REGEX REPLACE "@[0-9]+" "" VN_DEF "${VN_DEF}")
endif()
file(WRITE ${CMAKE_BINARY_DIR}/vnhook.def "${VN_DEF}")

# The Win32 glue of the library, also linked into the test programs so that they can look at the
# shared state and the files the way the library does.
file(GLOB_RECURSE VN_GLUE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/hook/*_win.cpp)
list(FILTER VN_GLUE_SOURCES EXCLUDE REGEX "dllmain_win\\.cpp$")
add_library(vnglue STATIC ${VN_GLUE_SOURCES})
target_link_libraries(vnglue PUBLIC vncore user32 gdi32 advapi32 kernel32)

add_library(vnhook SHARED ${CMAKE_SOURCE_DIR}/hook/takeover/dllmain_win.cpp
                          ${CMAKE_SOURCE_DIR}/hook/resources/vnhook.rc ${CMAKE_BINARY_DIR}/vnhook.def)
set_property(SOURCE ${CMAKE_SOURCE_DIR}/hook/resources/vnhook.rc APPEND PROPERTY OBJECT_DEPENDS
             ${CMAKE_SOURCE_DIR}/hook/resources/editors.rc ${CMAKE_SOURCE_DIR}/hook/resources/file_commands.rc
             ${CMAKE_SOURCE_DIR}/hook/resources/find.rc
             ${CMAKE_SOURCE_DIR}/hook/resources/resource.h)
set_target_properties(vnhook PROPERTIES PREFIX "" OUTPUT_NAME ${VN_HOOK_NAME}
                                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
target_link_libraries(vnhook PRIVATE vnglue vncore user32 advapi32 kernel32)
# What programs link to use the library. On 32-bit the linker's own import library would carry
# the undecorated names, which callers compiled against WINAPI declarations cannot find; dlltool
# builds one that maps the decorated names to the plain exports.
add_library(vnhook_api INTERFACE)
if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND NOT MSVC)
    target_link_options(vnhook PRIVATE -Wl,--kill-at)
    set(VN_IMPLIB ${CMAKE_BINARY_DIR}/lib${VN_HOOK_NAME}-import.a)
    add_custom_command(OUTPUT ${VN_IMPLIB}
        COMMAND ${VN_TRIPLE}-dlltool -d ${CMAKE_BINARY_DIR}/vnhook.def -D ${VN_HOOK_NAME}.dll
                -l ${VN_IMPLIB} -k
        DEPENDS ${CMAKE_BINARY_DIR}/vnhook.def)
    add_custom_target(vnhook_implib DEPENDS ${VN_IMPLIB})
    add_dependencies(vnhook_api vnhook_implib vnhook)
    target_link_libraries(vnhook_api INTERFACE ${VN_IMPLIB})
else()
    target_link_libraries(vnhook_api INTERFACE vnhook)
endif()
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

if(EXISTS ${CMAKE_SOURCE_DIR}/manager/CMakeLists.txt)
    add_subdirectory(manager)
endif()
add_subdirectory(tests/wine)
add_subdirectory(tests/bench)
