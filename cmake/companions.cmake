# What comes with zentri besides the program: the example generator and the tests
# of the companions.
include(GNUInstallDirs)

add_subdirectory(examples)

if(ZENTRI_TESTS)
  add_subdirectory(tests/companions)
endif()
