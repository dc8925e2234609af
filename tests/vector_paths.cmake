# Checks the machine code of the zentri executable for the x86 vector paths:
# ymm registers (the AVX2 butterflies) and psadbw (the SSE2 line count). The
# usual x86-64 build has both; the scalar build (ZENTRI_SCALAR=ON) neither.
#   cmake -DOBJDUMP=objdump -DBINARY=zentri -DEXPECT=present|absent -P vector_paths.cmake
execute_process(COMMAND ${OBJDUMP} -d --no-show-raw-insn ${BINARY}
                OUTPUT_VARIABLE code RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -d ${BINARY} failed (${status})")
endif()
foreach(mark ymm psadbw)
  string(FIND "${code}" "${mark}" at)
  if(EXPECT STREQUAL "absent" AND NOT at EQUAL -1)
    message(FATAL_ERROR "the scalar build's machine code holds ${mark}: a vector path was built")
  elseif(EXPECT STREQUAL "present" AND at EQUAL -1)
    message(FATAL_ERROR "no ${mark} in the machine code: the x86 vector path is missing")
  endif()
endforeach()
message(STATUS "vector paths ${EXPECT} in ${BINARY}, as the build asks")
