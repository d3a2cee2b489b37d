# The real demo where no X11 or Wayland display answers and no video driver
# is named: SDL would fall back to drawing off screen, so the demo must say
# that the screen cannot be set up (on stderr, as there is no screen for a
# box) and end with exit code 1 instead of running unseen.
# With BACKEND, the same for a windowing back end that does not exist.
# Run in a folder with the picture, so that only the screen is missing, and
# without XDG_RUNTIME_DIR, as in a bare ssh session or a container: nothing
# from libwayland about it may reach the user.
if(DEFINED BACKEND)
  set(backend ONDULIX_BACKEND=${BACKEND})
else()
  set(backend --unset=ONDULIX_BACKEND)
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=SDL_VIDEODRIVER ${backend}
    --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=WAYLAND_SOCKET --unset=XDG_RUNTIME_DIR
    ${PROGRAM}
  WORKING_DIRECTORY ${ASSETS}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors
  TIMEOUT 20)
if(NOT result EQUAL 1)
  message(FATAL_ERROR "exit code '${result}', not 1; stderr: ${errors}")
endif()
# "画面を初期化できません", the message converted to UTF-8.
string(FIND "${errors}" "Message: 画面を初期化できません" at)
if(at EQUAL -1)
  message(FATAL_ERROR "no screen message on stderr; it has:\n${errors}")
endif()
string(FIND "${errors}" "no display for windows:" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the reason is not on stderr; it has:\n${errors}")
endif()
string(FIND "${errors}" "XDG_RUNTIME_DIR" at)
if(NOT at EQUAL -1)
  message(FATAL_ERROR "libwayland's XDG_RUNTIME_DIR line reaches the user:\n${errors}")
endif()
