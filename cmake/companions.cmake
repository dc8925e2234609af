# What comes with zentri besides the program: the example generator, the plotting
# companion and the manual page (both installed beside zentri), the lint and format
# checks, and the tests of the companions.
include(GNUInstallDirs)

add_subdirectory(examples)

install(PROGRAMS tools/zentri-plot DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES man/zentri.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES tools/zentri.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME zentri)

include(cmake/lint.cmake)

if(ZENTRI_TESTS AND ZENTRI_COMPANION_TESTS)
  add_subdirectory(tests/companions)
endif()
