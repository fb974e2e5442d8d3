# The Wine system tests: each tests/wine/<program>.scenarios file names the scenarios of that test
# program, one a line; every scenario is one test, run as "<program>.exe <scenario>".
file(GLOB VN_SCENARIO_FILES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.scenarios)
set(VN_WINE_TESTS)
foreach(file ${VN_SCENARIO_FILES})
    get_filename_component(program ${file} NAME_WE)
    file(STRINGS ${file} scenarios REGEX "^[A-Za-z0-9_.-]+$")
    foreach(scenario ${scenarios})
        list(APPEND VN_WINE_TESTS "${program}|${scenario}")
    endforeach()
endforeach()
