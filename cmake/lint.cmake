# lint: clang-tidy with the checks of .clang-tidy over the program's sources and the
# example generator. format-check: clang-format --dry-run over the same files, which
# names every line that .clang-format would lay out differently.
find_program(CLANG_TIDY_EXE NAMES clang-tidy clang-tidy-14)
find_program(CLANG_FORMAT_EXE NAMES clang-format clang-format-14)
file(GLOB_RECURSE lint_sources CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/src/*.cpp ${PROJECT_SOURCE_DIR}/examples/generator/*.cpp)
file(GLOB_RECURSE lint_headers CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/src/*.h ${PROJECT_SOURCE_DIR}/examples/generator/*.h)

if(CLANG_TIDY_EXE)
  add_custom_target(lint
    COMMAND ${PROJECT_SOURCE_DIR}/tools/lint.sh ${CLANG_TIDY_EXE} ${PROJECT_SOURCE_DIR}
            ${lint_sources}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "clang-tidy over src/ and examples/generator/, on every core"
    VERBATIM)
else()
  add_custom_target(lint
    COMMAND ${CMAKE_COMMAND} -E echo "lint: clang-tidy not found (Debian package clang-tidy)"
    COMMAND ${CMAKE_COMMAND} -E false
    VERBATIM)
endif()

if(CLANG_FORMAT_EXE)
  add_custom_target(format-check
    COMMAND ${CLANG_FORMAT_EXE} --dry-run --Werror ${lint_sources} ${lint_headers}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "clang-format --dry-run over src/ and examples/generator/"
    VERBATIM)
endif()
