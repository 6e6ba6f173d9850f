# Per-package settings, read by cpack: the installer's file name says what it is.
if(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
else()
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON) # the zip unpacks into one folder
endif()
