# libjpeg-turbo, the JPEG decoder with reduced-scale decoding. MinGW builds compile Debian's source package
# (fetched by scripts/setup) into a static library with its SIMD code, once per build folder; other
# toolchains (MSVC) use an installed libjpeg-turbo. Defines the target qr_libjpeg.
if(MSVC)
  find_package(libjpeg-turbo CONFIG REQUIRED)
  add_library(qr_libjpeg INTERFACE)
  target_link_libraries(qr_libjpeg INTERFACE libjpeg-turbo::jpeg-static)
  return()
endif()

file(GLOB QR_JPEG_SOURCE_CANDIDATES LIST_DIRECTORIES true /var/cache/quelm_rask/libjpeg-turbo/libjpeg-turbo-*)
list(SORT QR_JPEG_SOURCE_CANDIDATES)
list(POP_BACK QR_JPEG_SOURCE_CANDIDATES QR_JPEG_DEFAULT_SOURCE)
set(QR_LIBJPEG_TURBO_SOURCE "${QR_JPEG_DEFAULT_SOURCE}" CACHE PATH "libjpeg-turbo's source folder")
if(NOT EXISTS "${QR_LIBJPEG_TURBO_SOURCE}/CMakeLists.txt")
  message(FATAL_ERROR "libjpeg-turbo's sources are missing: run scripts/setup (or set QR_LIBJPEG_TURBO_SOURCE)")
endif()
find_program(QR_NASM nasm REQUIRED)

include(ExternalProject)
set(QR_JPEG_BINARY ${CMAKE_BINARY_DIR}/libjpeg-turbo)
set(QR_JPEG_LIBRARY ${QR_JPEG_BINARY}/libjpeg.a)
set(QR_JPEG_LAUNCHER)
if(CMAKE_C_COMPILER_LAUNCHER)
  set(QR_JPEG_LAUNCHER -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER})
endif()
ExternalProject_Add(libjpeg_turbo_build
  SOURCE_DIR ${QR_LIBJPEG_TURBO_SOURCE}
  BINARY_DIR ${QR_JPEG_BINARY}
  # Its install step is not needed (the library and headers are used where they are), but its CMake
  # insists on a real install prefix. Its Windows installer target names the shared library `jpeg`,
  # which is not built here; under the old rule for undeclared byproducts (its CMake predates it) Ninja
  # would be told to expect such a file and every fresh configure would warn about it.
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE} -DCMAKE_BUILD_TYPE=Release
             -DCMAKE_INSTALL_PREFIX=${QR_JPEG_BINARY}/unused-install -DCMAKE_ASM_NASM_COMPILER=${QR_NASM}
             -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF -DREQUIRE_SIMD=ON -DWITH_ARITH_ENC=OFF
             -DCMAKE_POLICY_DEFAULT_CMP0058=NEW
             ${QR_JPEG_LAUNCHER}
  BUILD_COMMAND ${CMAKE_COMMAND} --build ${QR_JPEG_BINARY} --target jpeg-static
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${QR_JPEG_LIBRARY}
  UPDATE_COMMAND "" PATCH_COMMAND "")

add_library(qr_libjpeg STATIC IMPORTED GLOBAL)
set_target_properties(qr_libjpeg PROPERTIES IMPORTED_LOCATION ${QR_JPEG_LIBRARY})
# jconfig.h is generated into the build folder; the other headers stay in the sources.
file(MAKE_DIRECTORY ${QR_JPEG_BINARY})
target_include_directories(qr_libjpeg INTERFACE ${QR_JPEG_BINARY} ${QR_LIBJPEG_TURBO_SOURCE})
add_dependencies(qr_libjpeg libjpeg_turbo_build)
