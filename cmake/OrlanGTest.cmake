# GoogleTest: the installed package, or built from its sources when ORLAN_GTEST_SOURCE
# names them (a cross build, whose target system has no installed package).
set(ORLAN_GTEST_SOURCE "" CACHE PATH "GoogleTest sources to build instead of the installed package")
if(ORLAN_GTEST_SOURCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${ORLAN_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)
