# Shared helpers for the per-folder libraries.

function(kalvero_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
    if(KALVERO_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# kalvero_library(<name> DIR <folder> [LINKS <targets>...])
# One static library from every .cpp directly inside <folder>.
function(kalvero_library name)
    cmake_parse_arguments(ARG "" "DIR" "LINKS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS "${ARG_DIR}/*.cpp")
    file(GLOB headers CONFIGURE_DEPENDS "${ARG_DIR}/*.h")
    if(NOT sources)
        set(sources "${PROJECT_SOURCE_DIR}/cmake/empty.cpp")
    endif()
    add_library(${name} STATIC ${sources} ${headers})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}")
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
    kalvero_warnings(${name})
endfunction()
