# GoogleTest from Debian's sources (/usr/src/googletest, package googletest),
# built with the project's own compiler and flags: the same way for the
# native build and the MinGW cross builds, which have no prebuilt library.
if(NOT TARGET GTest::gtest_main)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
include(GoogleTest)
