# cmake -DPACKAGE=zip -DFOLDER=name -DBUDGET=bytes -DHELP_TEXT=file -DWORK=dir -P CheckPackage.cmake
# Unpacks the release zip and fails when it lacks one of its three files, when the exe is larger
# than its budget plus the help window's text that it keeps, or when the SHA-256 beside the zip
# does not match it.
if(NOT EXISTS ${PACKAGE})
    message(FATAL_ERROR "${PACKAGE} not found: build the target `package` first")
endif()
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(ARCHIVE_EXTRACT INPUT ${PACKAGE} DESTINATION ${WORK})
foreach(name ambrel.exe AMBREL.HLP README.TXT)
    if(NOT EXISTS ${WORK}/${FOLDER}/${name})
        message(FATAL_ERROR "${PACKAGE} has no ${FOLDER}/${name}")
    endif()
endforeach()

file(SIZE ${WORK}/${FOLDER}/ambrel.exe size)
file(SIZE ${HELP_TEXT} help_text)
math(EXPR allowed "${BUDGET} + ${help_text}")
math(EXPR headroom "${allowed} - ${size}")
message(STATUS "packaged ambrel.exe: ${size} bytes, budget ${BUDGET} + ${help_text} of help "
               "text, headroom ${headroom}")
if(size GREATER allowed)
    message(FATAL_ERROR "packaged ambrel.exe is ${size} bytes, over its budget of ${BUDGET} "
                        "and ${help_text} of help text")
endif()

file(READ ${PACKAGE}.sha256 recorded)
string(REGEX MATCH "^[0-9a-f]+" recorded "${recorded}")
file(SHA256 ${PACKAGE} actual)
if(NOT recorded STREQUAL actual)
    message(FATAL_ERROR "${PACKAGE}.sha256 (${recorded}) does not match the zip (${actual})")
endif()
