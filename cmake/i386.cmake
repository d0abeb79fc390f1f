# Whether this machine runs 32-bit x86 programs: tools/i386-check answers (YJ_RUNS_I386=yes|no in
# the environment forces its answer). Asked at every configure, which `make` does before each build.
#   YJ_RUNS_I386       TRUE or FALSE
#   YJ_I386_REFUSAL    why not, when FALSE
execute_process(COMMAND ${PROJECT_SOURCE_DIR}/tools/i386-check
                OUTPUT_VARIABLE yj_i386_answer OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE yj_i386_failed)
if(yj_i386_failed)
  message(FATAL_ERROR "tools/i386-check could not tell whether this machine runs 32-bit programs")
endif()
if(yj_i386_answer STREQUAL "yes")
  set(YJ_RUNS_I386 TRUE)
  set(YJ_I386_REFUSAL "")
else()
  set(YJ_RUNS_I386 FALSE)
  string(REGEX REPLACE "^no: " "" YJ_I386_REFUSAL "${yj_i386_answer}")
  message(STATUS "32-bit programs do not run here: ${YJ_I386_REFUSAL}")
endif()
