# libpng with zlib under it: Debian's libraries natively; for the MinGW targets static builds of
# Debian's own source packages (unpacked by tools/fetch-debian-source.sh), made once per build tree.
# Either way one target, yj_png, that links libpng and then zlib and carries their headers.
if(NOT WIN32)
  find_package(PNG REQUIRED)
  add_library(yj_png INTERFACE)
  target_link_libraries(yj_png INTERFACE PNG::PNG)
  return()
endif()

include(ExternalProject)
set(YJ_ZLIB_SOURCE "${CMAKE_SOURCE_DIR}/build/sources/zlib" CACHE PATH
    "Unpacked zlib source (tools/fetch-debian-source.sh)")
set(YJ_LIBPNG_SOURCE "${CMAKE_SOURCE_DIR}/build/sources/libpng1.6" CACHE PATH
    "Unpacked libpng source (tools/fetch-debian-source.sh)")
if(NOT EXISTS "${YJ_ZLIB_SOURCE}/CMakeLists.txt")
  message(FATAL_ERROR "zlib source missing at ${YJ_ZLIB_SOURCE}: run tools/setup.sh")
endif()
if(NOT EXISTS "${YJ_LIBPNG_SOURCE}/png.h")
  message(FATAL_ERROR "libpng source missing at ${YJ_LIBPNG_SOURCE}: run tools/setup.sh")
endif()

# zlib's CMake renames the zconf.h of the tree it builds, and builds a DLL and two test programs
# besides the static library. It works on a copy of its own (the unpacked tree is shared by every
# build tree, maybe at the same moment), and only the static library is built and installed.
# Under make the nested make shares the jobs of the outer one (the step runs in zlib's build folder).
if(CMAKE_GENERATOR MATCHES "Makefiles")
  set(yj_zlib_build_command "$(MAKE)" zlibstatic)
else()
  set(yj_zlib_build_command ${CMAKE_COMMAND} --build <BINARY_DIR> --target zlibstatic)
endif()
set(yj_zlib_prefix "${CMAKE_BINARY_DIR}/zlib")
set(yj_zlib_install "${yj_zlib_prefix}/install")
ExternalProject_Add(zlib_build
  PREFIX "${yj_zlib_prefix}"
  SOURCE_DIR "${yj_zlib_prefix}/source"
  INSTALL_DIR "${yj_zlib_install}"
  DOWNLOAD_COMMAND ${CMAKE_COMMAND} -E rm -rf <SOURCE_DIR>
  COMMAND ${CMAKE_COMMAND} -E copy_directory "${YJ_ZLIB_SOURCE}" <SOURCE_DIR>
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
  BUILD_COMMAND ${yj_zlib_build_command}
  INSTALL_COMMAND ${CMAKE_COMMAND} -E make_directory <INSTALL_DIR>/lib <INSTALL_DIR>/include
  COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/libzlibstatic.a <INSTALL_DIR>/lib/libz.a
  COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/zconf.h <SOURCE_DIR>/zlib.h <INSTALL_DIR>/include
  BUILD_BYPRODUCTS "${yj_zlib_install}/lib/libz.a"
  UPDATE_COMMAND ""
  TEST_COMMAND "")

set(yj_png_prefix "${CMAKE_BINARY_DIR}/libpng")
set(yj_png_install "${yj_png_prefix}/install")
ExternalProject_Add(libpng_build
  SOURCE_DIR "${YJ_LIBPNG_SOURCE}"
  PREFIX "${yj_png_prefix}"
  INSTALL_DIR "${yj_png_install}"
  DEPENDS zlib_build
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
    -DPNG_SHARED=OFF
    -DPNG_STATIC=ON
    -DPNG_TESTS=OFF
    -DPNG_EXECUTABLES=OFF
    -DSKIP_INSTALL_PROGRAMS=ON
    -DSKIP_INSTALL_FILES=ON
    -DZLIB_LIBRARY=${yj_zlib_install}/lib/libz.a
    -DZLIB_INCLUDE_DIR=${yj_zlib_install}/include
  BUILD_BYPRODUCTS "${yj_png_install}/lib/libpng16.a"
  UPDATE_COMMAND ""
  TEST_COMMAND "")

file(MAKE_DIRECTORY "${yj_zlib_install}/include" "${yj_png_install}/include")
add_library(yj_zlib STATIC IMPORTED GLOBAL)
set_target_properties(yj_zlib PROPERTIES
  IMPORTED_LOCATION "${yj_zlib_install}/lib/libz.a"
  INTERFACE_INCLUDE_DIRECTORIES "${yj_zlib_install}/include")
add_dependencies(yj_zlib zlib_build)

add_library(yj_png STATIC IMPORTED GLOBAL)
set_target_properties(yj_png PROPERTIES
  IMPORTED_LOCATION "${yj_png_install}/lib/libpng16.a"
  INTERFACE_INCLUDE_DIRECTORIES "${yj_png_install}/include"
  INTERFACE_LINK_LIBRARIES yj_zlib)
add_dependencies(yj_png libpng_build)
