# libjpeg-turbo: Debian's library natively; for the MinGW targets a static build of Debian's own
# source package (unpacked by tools/fetch-debian-source.sh), made once per build tree.
if(NOT WIN32)
  find_package(JPEG REQUIRED)
  add_library(yj_jpeg INTERFACE)
  target_link_libraries(yj_jpeg INTERFACE JPEG::JPEG)
  return()
endif()

include(ExternalProject)
set(YJ_LIBJPEG_SOURCE "${CMAKE_SOURCE_DIR}/build/sources/libjpeg-turbo" CACHE PATH
    "Unpacked libjpeg-turbo source (tools/fetch-debian-source.sh)")
if(NOT EXISTS "${YJ_LIBJPEG_SOURCE}/CMakeLists.txt")
  message(FATAL_ERROR "libjpeg-turbo source missing at ${YJ_LIBJPEG_SOURCE}: run tools/setup.sh")
endif()

find_program(YJ_NASM nasm)
if(YJ_NASM)
  set(yj_jpeg_simd ON)
else()
  set(yj_jpeg_simd OFF)
endif()

set(yj_jpeg_prefix "${CMAKE_BINARY_DIR}/libjpeg-turbo")
ExternalProject_Add(libjpeg_turbo_build
  SOURCE_DIR "${YJ_LIBJPEG_SOURCE}"
  PREFIX "${yj_jpeg_prefix}"
  INSTALL_DIR "${yj_jpeg_prefix}/install"
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
    -DENABLE_SHARED=OFF
    -DENABLE_STATIC=ON
    -DWITH_TURBOJPEG=OFF
    -DWITH_SIMD=${yj_jpeg_simd}
    -DCMAKE_ASM_NASM_COMPILER=${YJ_NASM}
  BUILD_BYPRODUCTS "${yj_jpeg_prefix}/install/lib/libjpeg.a"
  UPDATE_COMMAND ""
  TEST_COMMAND "")

file(MAKE_DIRECTORY "${yj_jpeg_prefix}/install/include")
add_library(yj_jpeg STATIC IMPORTED GLOBAL)
set_target_properties(yj_jpeg PROPERTIES
  IMPORTED_LOCATION "${yj_jpeg_prefix}/install/lib/libjpeg.a"
  INTERFACE_INCLUDE_DIRECTORIES "${yj_jpeg_prefix}/install/include")
add_dependencies(yj_jpeg libjpeg_turbo_build)
