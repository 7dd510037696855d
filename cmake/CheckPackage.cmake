# cmake -DPACKAGE=zip -DFOLDER=name -DBUDGET=bytes -DWORK=dir -P CheckPackage.cmake
# Unpacks the release zip and fails when it lacks one of its three files, when the exe is larger
# than its budget, or when the SHA-256 beside the zip does not match it.
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
math(EXPR headroom "${BUDGET} - ${size}")
message(STATUS "packaged ambrel.exe: ${size} bytes, budget ${BUDGET}, headroom ${headroom}")
if(size GREATER BUDGET)
    message(FATAL_ERROR "packaged ambrel.exe is ${size} bytes, over its budget of ${BUDGET}")
endif()

file(READ ${PACKAGE}.sha256 recorded)
string(REGEX MATCH "^[0-9a-f]+" recorded "${recorded}")
file(SHA256 ${PACKAGE} actual)
if(NOT recorded STREQUAL actual)
    message(FATAL_ERROR "${PACKAGE}.sha256 (${recorded}) does not match the zip (${actual})")
endif()
