# Warnings on our own code (errors with BREZAL_WERROR, which the project's scripts and CI
# turn on), and the optional sanitizer build.
add_library(brezal_warnings INTERFACE)
target_compile_options(brezal_warnings INTERFACE -Wall -Wextra $<$<BOOL:${BREZAL_WERROR}>:-Werror>)

add_library(brezal_sanitize INTERFACE)
if(BREZAL_SANITIZE)
  target_compile_options(brezal_sanitize INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(brezal_sanitize INTERFACE -fsanitize=address,undefined)
endif()

# An object library of ours: warnings, sanitizers, the public include folder.
function(brezal_object_library name)
  file(GLOB _sources CONFIGURE_DEPENDS ${ARGN})
  add_library(${name} OBJECT ${_sources})
  target_include_directories(${name} PUBLIC
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/src>)
  target_link_libraries(${name} PUBLIC brezal_sanitize PRIVATE brezal_warnings)
  target_compile_definitions(${name} PUBLIC SQLITE_HAS_CODEC)
endfunction()

# GCC 12 at -O3 reports overlapping copies inside std::string assignments that cannot
# happen (GCC bug 105329): not a warning about our code.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(brezal_warnings INTERFACE $<$<CONFIG:Release>:-Wno-restrict>)
endif()
