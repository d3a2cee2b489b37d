# The runtime start-up calls WinMain with an instance, no previous instance,
# the arguments as one command line and SW_SHOWDEFAULT (10), and the
# process exits with WinMain's result.
execute_process(COMMAND ${PROGRAM} picture.bmp --second
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
set(expected "instance=set previous=null show=10 command line=[picture.bmp --second]\n")
if(NOT result EQUAL 7)
  message(FATAL_ERROR "exit code ${result}, not WinMain's 7; stderr: ${errors}")
endif()
if(NOT output STREQUAL expected)
  message(FATAL_ERROR "WinMain received:\n${output}instead of:\n${expected}")
endif()

execute_process(COMMAND ${PROGRAM} RESULT_VARIABLE result OUTPUT_VARIABLE output)
if(NOT output STREQUAL "instance=set previous=null show=10 command line=[]\n")
  message(FATAL_ERROR "without arguments WinMain received:\n${output}")
endif()
