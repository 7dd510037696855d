# The version facts for the build itself (the package's name, the read-me), read from the one
# header that the version resource and the code use, so that the three never differ.
file(STRINGS ${PROJECT_SOURCE_DIR}/resources/version.h version_lines
     REGEX "^#define AMBREL_(VERSION_TEXT|PRODUCT_NAME) ")
foreach(line IN LISTS version_lines)
    if(line MATCHES "^#define (AMBREL_[A-Z_]+) \"([^\"]*)\"")
        set(${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
    endif()
endforeach()
if(NOT AMBREL_VERSION_TEXT OR NOT AMBREL_PRODUCT_NAME)
    message(FATAL_ERROR "resources/version.h: AMBREL_VERSION_TEXT or AMBREL_PRODUCT_NAME not found")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/resources/version.h)
