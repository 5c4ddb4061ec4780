# The large benchmark scenario at the largest size factor its generator
# accepts, the largest game the files' budgets are sized for, loads with the
# checker: the units fit on the grown map and every file stays within what
# the game reads. Its save, every file of it written by the game, loads back.
# Run as: cmake -DGENERATOR=<make_large_scenario> -DCHECKER=<scenario_checker> -DCONSTANTS=<consts.csv>
#         -DWORK=<scratch folder> -P <this file>
file(REMOVE_RECURSE "${WORK}")
# The generator names its largest factor when it refuses one far beyond it.
execute_process(COMMAND "${GENERATOR}" "${CONSTANTS}" "${WORK}" Refused 1000000
                RESULT_VARIABLE refused ERROR_VARIABLE refusal OUTPUT_QUIET)
if(refused EQUAL 0 OR NOT refusal MATCHES "from 1 to ([0-9]+)")
  message(FATAL_ERROR "the generator did not refuse the factor 1000000 with its range: ${refusal}")
endif()
set(factor ${CMAKE_MATCH_1})
# Nor does it take a factor below 1.
execute_process(COMMAND "${GENERATOR}" "${CONSTANTS}" "${WORK}" Zero 0
                RESULT_VARIABLE refused ERROR_VARIABLE refusal OUTPUT_QUIET)
if(refused EQUAL 0 OR NOT refusal MATCHES "from 1 to ${factor}")
  message(FATAL_ERROR "the generator did not refuse the factor 0: ${refusal}")
endif()
execute_process(COMMAND "${GENERATOR}" "${CONSTANTS}" "${WORK}" Largest ${factor} RESULT_VARIABLE made)
if(NOT made EQUAL 0)
  message(FATAL_ERROR "the generator could not write the factor ${factor} it accepts")
endif()
# And it is the largest: one factor more would outgrow the 10 MiB the game's
# map reader takes.
file(SIZE "${WORK}/data/scenarios/Largest/map.qel" map_size)
math(EXPR per_factor "${map_size} / ${factor}")
math(EXPR one_more "${map_size} + ${per_factor}")
if(NOT one_more GREATER 10485760)
  message(FATAL_ERROR "the map of factor ${factor} (${map_size} bytes) leaves room for a larger factor")
endif()
file(MAKE_DIRECTORY "${WORK}/data/save")
math(EXPR land "2000 * ${factor}")
math(EXPR air "150 * ${factor}")
foreach(load "--scenario;Largest;--save-as;Largest" "--save;Largest")
  execute_process(COMMAND "${CHECKER}" --root "${WORK}" ${load}
                  RESULT_VARIABLE code OUTPUT_VARIABLE summary ERROR_VARIABLE errors)
  if(NOT code EQUAL 0 OR NOT summary MATCHES "Land units: ${land} on the map" OR
     NOT summary MATCHES "Air units: ${air} on the map")
    message(FATAL_ERROR "${load} of factor ${factor} did not load (exit ${code}):\n${summary}${errors}")
  endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")
