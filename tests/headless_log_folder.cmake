# The headless checker keeps its log in the game folder it is given with
# --root, not in the folder it was started from.
# Run as: cmake -DCHECKER=<scenario_checker> -DGAME=<built game folder> -DWORK=<scratch folder> -P <this file>
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/started_here" "${WORK}/root/data/scenarios")
file(GLOB top LIST_DIRECTORIES false "${GAME}/*")
file(COPY ${top} DESTINATION "${WORK}/root")
file(COPY "${GAME}/data/scenarios/NorthernTide" DESTINATION "${WORK}/root/data/scenarios")
execute_process(COMMAND "${CHECKER}" --root "${WORK}/root" --scenario NorthernTide
                WORKING_DIRECTORY "${WORK}/started_here" RESULT_VARIABLE code OUTPUT_QUIET)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "the checker ended with ${code}")
endif()
if(EXISTS "${WORK}/started_here/ConsoleOut.txt")
  message(FATAL_ERROR "the log was written into the folder the checker was started from")
endif()
file(SIZE "${WORK}/root/ConsoleOut.txt" size)
if(NOT size GREATER 0)
  message(FATAL_ERROR "the game folder holds no log")
endif()
file(REMOVE_RECURSE "${WORK}")
