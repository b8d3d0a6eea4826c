# zelgrin_io: input streams with transparent decompression, and the block line reader.
# Each compressed format decodes with its own library. A library that is missing leaves its
# format out, with a warning here; the program then fails to read such a file with
# "<format> support not built in". tools/install-deps.sh installs them all.
# Sets ZELGRIN_CODEC_TARGETS and ZELGRIN_CODEC_DEFINITIONS for the tests, which compress data
# with the same libraries.
file(GLOB io_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/io/*.cpp)
set(ZELGRIN_CODEC_TARGETS)
set(ZELGRIN_CODEC_DEFINITIONS)

function(zelgrin_codec format found target definition package)
  if(found)
    set(ZELGRIN_CODEC_TARGETS ${ZELGRIN_CODEC_TARGETS} ${target} PARENT_SCOPE)
    set(ZELGRIN_CODEC_DEFINITIONS ${ZELGRIN_CODEC_DEFINITIONS} ${definition} PARENT_SCOPE)
  else()
    message(WARNING "${format} library not found: ${format} input will not be read "
                    "(install ${package}, e.g. with tools/install-deps.sh)")
    list(FILTER io_sources EXCLUDE REGEX "/${format}_decoder\\.cpp$")
    set(io_sources ${io_sources} PARENT_SCOPE)
  endif()
endfunction()

find_package(ZLIB)
zelgrin_codec(gzip "${ZLIB_FOUND}" ZLIB::ZLIB ZELGRIN_WITH_GZIP zlib1g-dev)
find_package(BZip2)
zelgrin_codec(bzip2 "${BZIP2_FOUND}" BZip2::BZip2 ZELGRIN_WITH_BZIP2 libbz2-dev)
find_package(LibLZMA)
zelgrin_codec(xz "${LIBLZMA_FOUND}" LibLZMA::LibLZMA ZELGRIN_WITH_XZ liblzma-dev)

# zstd has no CMake module of its own: pkg-config, or the header and library where they lie.
find_package(PkgConfig QUIET)
if(PKG_CONFIG_FOUND)
  pkg_check_modules(ZSTD QUIET IMPORTED_TARGET libzstd)
endif()
if(ZSTD_FOUND)
  set(zstd_target PkgConfig::ZSTD)
else()
  find_path(ZSTD_INCLUDE_DIR zstd.h)
  find_library(ZSTD_LIBRARY zstd)
  if(ZSTD_INCLUDE_DIR AND ZSTD_LIBRARY)
    add_library(zelgrin_zstd UNKNOWN IMPORTED)
    set_target_properties(zelgrin_zstd PROPERTIES IMPORTED_LOCATION ${ZSTD_LIBRARY}
                          INTERFACE_INCLUDE_DIRECTORIES ${ZSTD_INCLUDE_DIR})
    set(ZSTD_FOUND TRUE)
    set(zstd_target zelgrin_zstd)
  endif()
endif()
zelgrin_codec(zstd "${ZSTD_FOUND}" "${zstd_target}" ZELGRIN_WITH_ZSTD libzstd-dev)

add_library(zelgrin_io STATIC ${io_sources})
target_include_directories(zelgrin_io PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(zelgrin_io PRIVATE ${ZELGRIN_CODEC_TARGETS})
target_compile_definitions(zelgrin_io PRIVATE ${ZELGRIN_CODEC_DEFINITIONS})
# Compressed inputs may be decoded ahead in a thread of their own.
find_package(Threads REQUIRED)
target_link_libraries(zelgrin_io PUBLIC Threads::Threads)
