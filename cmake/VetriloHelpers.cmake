# vetrilo_add_library(<name> SOURCES ... LINKS ...)
function(vetrilo_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
endfunction()

# vetrilo_add_test(<name> SOURCES ... LINKS ...)
# One Qt Test executable per area, run on the offscreen platform with its own trace folder.
function(vetrilo_add_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LINKS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test testsupport ${ARG_LINKS})
    add_test(NAME ${name} COMMAND ${name})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${ARG_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=C.UTF-8;LC_ALL=C.UTF-8;VETRILO_TRACE_DIR=${CMAKE_CURRENT_BINARY_DIR}/trace-${name};QT_LOGGING_RULES=qt.qpa.*=false")
endfunction()
