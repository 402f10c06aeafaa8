# The README's demo step on a fresh machine: the generator writes the demo database into a folder that
# does not exist yet.
file(REMOVE_RECURSE "${FOLDER}")
set(database "${FOLDER}/demo/ZLV.mdb")
execute_process(COMMAND "${GENERATOR}" demo "${database}" RESULT_VARIABLE result OUTPUT_VARIABLE output
                ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "zlv_generate demo failed (${result}): ${output}")
endif()
if(NOT EXISTS "${database}")
    message(FATAL_ERROR "zlv_generate demo wrote no ${database}: ${output}")
endif()
file(REMOVE_RECURSE "${FOLDER}")
