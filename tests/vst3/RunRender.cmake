# Runs tarvo-render with ARGS (a ;-list) and checks its exit status
# (EXPECT_RC) and that its combined output matches EXPECT (a regex).
execute_process(COMMAND ${TOOL} ${ARGS} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(all "${out}${err}")
if(NOT rc EQUAL EXPECT_RC)
  message(FATAL_ERROR "exit status ${rc}, expected ${EXPECT_RC}:\n${all}")
endif()
if(DEFINED EXPECT AND NOT all MATCHES "${EXPECT}")
  message(FATAL_ERROR "output does not match '${EXPECT}':\n${all}")
endif()
