# GoogleTest from Debian's sources (both toolchains), or an installed one elsewhere (MSVC).
if(EXISTS /usr/src/googletest/CMakeLists.txt)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # GoogleTest's own sources are not ours to keep warning-free.
  foreach(t gtest gtest_main)
    target_compile_options(${t} PRIVATE -w)
  endforeach()
else()
  find_package(GTest REQUIRED)
endif()

# The Windows test programs' shared fixtures and drivers, compiled once for all of them.
if(WIN32)
  file(GLOB QR_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
  add_library(qr_test_support STATIC ${QR_TEST_SUPPORT})
  target_include_directories(qr_test_support PUBLIC ${CMAKE_SOURCE_DIR}/tests)
  # The screen-reader driver calls oleacc itself; uuid first, so IID_IAccessible stays uuid's.
  target_link_libraries(qr_test_support PUBLIC quelm_app GTest::gtest uuid oleacc)
endif()

# One test program per source folder under tests/, one CTest entry per program.
function(qr_test_program name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${name}/*.cpp)
  if(NOT sources)
    return()
  endif()
  set(target ${name}_tests)
  add_executable(${target} ${sources} ${ARGN})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  # Files made by other programs, read as the program meets them; Wine shows the checkout as Z:.
  set(data ${CMAKE_SOURCE_DIR}/tests/data)
  if(WIN32 AND CMAKE_HOST_UNIX)
    set(data "Z:${data}")
  endif()
  target_compile_definitions(${target} PRIVATE QR_TEST_DATA_DIR="${data}")
  if(WIN32)
    target_link_libraries(${target} PRIVATE qr_test_support quelm_app GTest::gtest_main)
  else()
    target_link_libraries(${target} PRIVATE quelm_core GTest::gtest_main)
  endif()
  add_test(NAME ${name} COMMAND ${target} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()

qr_test_program(core)
if(WIN32)
  set(QR_GUI_TEST_DIRS win32 forms shared main_window table_editor wallpaper_creation font_colour wallpaper canvas preview app
      display_scaling stored_files)
  foreach(dir ${QR_GUI_TEST_DIRS})
    qr_test_program(${dir} ${QR_RESOURCES})
    if(TEST ${dir})
      # Windows tests share the desktop, the foreground window and the wallpaper setting.
      set_tests_properties(${dir} PROPERTIES RUN_SERIAL TRUE)
    endif()
    if(TARGET ${dir}_tests)
      # Some tests run the program itself (its command line).
      add_dependencies(${dir}_tests Quelm_Rask Quelm_Rask_console)
    endif()
  endforeach()
  # The stored files' bytes are read (and deliberately stored again) in the checkout; Wine shows it as Z:.
  if(TARGET stored_files_tests)
    set(stored ${CMAKE_SOURCE_DIR}/tests/data/stored_files)
    if(CMAKE_HOST_UNIX)
      set(stored "Z:${stored}")
    endif()
    target_compile_definitions(stored_files_tests PRIVATE QR_STORED_FILES_DIR="${stored}")
  endif()
  # A library planted beside the program, which must never be loaded from there.
  add_library(planted_library SHARED ${CMAKE_SOURCE_DIR}/tests/support/planted_library.c)
  set_target_properties(planted_library PROPERTIES PREFIX "")
  # The built programs' version resources are read back.
  if(TARGET app_tests)
    add_dependencies(app_tests planted_library)
    target_link_libraries(app_tests PRIVATE version)
  endif()
endif()

# Every library linked into the program has its notice; a notices file without libjpeg-turbo's section
# must fail the same check.
if(MINGW AND CMAKE_HOST_UNIX)
  find_package(Python3 COMPONENTS Interpreter)
  if(Python3_Interpreter_FOUND)
    add_test(NAME notices COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/check-notices
             ${CMAKE_BINARY_DIR}/Quelm_Rask.map ${CMAKE_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt)
    add_test(NAME notices_catch_a_missing_one COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/check-notices
             ${CMAKE_BINARY_DIR}/Quelm_Rask.map ${CMAKE_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt
             --without libjpeg-turbo --expect-missing libjpeg.a)
  endif()
endif()
