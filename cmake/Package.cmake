# The download for Windows users, made by
#   cmake --preset win32 && cmake --build --preset win32 --target package
# build/win32/ambrel-v2-<version>-win32.zip (one folder of that name holding ambrel.exe,
# AMBREL.HLP and README.TXT) and its SHA-256 beside it (.zip.sha256, as sha256sum writes it).
include(${PROJECT_SOURCE_DIR}/cmake/Version.cmake)

# What the packaged ambrel.exe may weigh at most; README.md states the same figure. The help
# window's text, which the exe keeps as a resource, comes on top, as many bytes as it has.
set(AMBREL_EXE_BUDGET_BYTES 327680) # 320 KB

install(TARGETS ambrel RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/AMBREL.HLP ${CMAKE_BINARY_DIR}/README.TXT DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ambrel-v2)
set(CPACK_PACKAGE_VENDOR "Ambrel V2")
set(CPACK_PACKAGE_VERSION ${AMBREL_VERSION_TEXT})
set(AMBREL_PACKAGE_NAME ambrel-v2-${AMBREL_VERSION_TEXT}-win32)
set(CPACK_PACKAGE_FILE_NAME ${AMBREL_PACKAGE_NAME})
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
include(CPack)

set(AMBREL_PACKAGE ${CMAKE_BINARY_DIR}/${AMBREL_PACKAGE_NAME}.zip)

# ctest --test-dir build/win32: the exe inside the package keeps to its budget.
enable_testing()
add_test(NAME packaged_exe_within_size_budget
    COMMAND ${CMAKE_COMMAND} -DPACKAGE=${AMBREL_PACKAGE} -DFOLDER=${AMBREL_PACKAGE_NAME}
            -DBUDGET=${AMBREL_EXE_BUDGET_BYTES} -DHELP_TEXT=${CMAKE_BINARY_DIR}/help_window_text.bin
            -DWORK=${CMAKE_BINARY_DIR}/package-check
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckPackage.cmake)
