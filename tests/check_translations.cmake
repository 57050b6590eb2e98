# Runs lupdate over the program's sources into a copy of each translation, as the
# update-translations target would, and fails unless the copy comes out unchanged and
# complete: every text the program has is in the file with its translation, and the file
# keeps no text that the program has lost.
# Run by CTest: cmake -DLUPDATE=… -DSOURCE_DIR=… -DWORK_DIR=… -P this
cmake_minimum_required(VERSION 3.25)
file(GLOB translations ${SOURCE_DIR}/translations/*.ts)
if(NOT translations)
    message(FATAL_ERROR "no translations in ${SOURCE_DIR}/translations")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(failures "")
foreach(translation ${translations})
    get_filename_component(name ${translation} NAME)
    set(copy ${WORK_DIR}/${name})
    file(COPY_FILE ${translation} ${copy})
    execute_process(COMMAND ${LUPDATE} ${SOURCE_DIR}/src -ts ${copy} -no-obsolete -locations none
        RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "lupdate failed (${status}):\n${output}")
    endif()
    file(READ ${translation} before)
    file(READ ${copy} after)
    string(REGEX MATCHALL "type=\"unfinished\"" unfinished "${after}")
    list(LENGTH unfinished count)
    if(count GREATER 0)
        string(APPEND failures "${name}: ${count} texts have no translation\n")
    endif()
    if(NOT before STREQUAL after)
        string(APPEND failures "${name} differs from the program's texts:\n${output}")
    endif()
endforeach()
file(REMOVE_RECURSE ${WORK_DIR})
if(failures)
    message(FATAL_ERROR "${failures}Run `cmake --build build --target update-translations`, "
                        "then translate what is new (linguist translations/lumenquill_LANG.ts).")
endif()
