# The program people run carries none of the platform's test hooks: no fault
# injection, no live-object counts. Its symbol table must still name the
# DirectDraw it does carry, so that an empty or unreadable table fails.
execute_process(COMMAND ${NM} -C ${PROGRAM}
  RESULT_VARIABLE result OUTPUT_VARIABLE symbols ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed (${result}): ${errors}")
endif()
string(FIND "${symbols}" "DirectDrawCreate" at)
if(at EQUAL -1)
  message(FATAL_ERROR "no DirectDrawCreate among the program's symbols: is it stripped?")
endif()
string(REGEX MATCHALL
  "[^\n]*(DirectDrawFault|DirectDrawCall|LiveDirectDrawObjects|LiveObjectCount|LiveGdiObjects|ScreenHeld)[^\n]*"
  hooks "${symbols}")
if(hooks)
  list(JOIN hooks "\n" lines)
  message(FATAL_ERROR "test hooks in the program:\n${lines}")
endif()
