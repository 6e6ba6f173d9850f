# The Windows build, cross-compiled by scripts/windows.sh with cmake/mingw64.cmake. It is given:
#   VZ_ALLEGRO, VZ_MPG123  the static libraries that script built (lib/, include/, license.txt)
#   VZ_ANFITRION           the Linux build, whose tools made the data (gen/) and the icon (iconos/)
enable_language(RC)
foreach(v VZ_ALLEGRO VZ_MPG123 VZ_ANFITRION)
    if(NOT IS_DIRECTORY "${${v}}")
        message(FATAL_ERROR "${v} must name a directory: build for Windows with scripts/windows.sh")
    endif()
endforeach()

# The libraries under the names that pkg-config gives them on Linux, so src/ links alike on both.
add_library(PkgConfig::ALLEGRO STATIC IMPORTED)
set_target_properties(PkgConfig::ALLEGRO PROPERTIES
    IMPORTED_LOCATION ${VZ_ALLEGRO}/lib/liballeg.a
    INTERFACE_INCLUDE_DIRECTORIES ${VZ_ALLEGRO}/include
    INTERFACE_COMPILE_DEFINITIONS ALLEGRO_STATICLINK
    INTERFACE_LINK_LIBRARIES "gdi32;winmm;ole32;dxguid;dinput;ddraw;dsound;user32;comdlg32"
    # One program with no DLLs beside it: the C and C++ runtimes and winpthreads go inside.
    INTERFACE_LINK_OPTIONS -static)
add_library(PkgConfig::MPG123 STATIC IMPORTED)
set_target_properties(PkgConfig::MPG123 PROPERTIES
    IMPORTED_LOCATION ${VZ_MPG123}/lib/libmpg123.a
    INTERFACE_INCLUDE_DIRECTORIES ${VZ_MPG123}/include
    INTERFACE_LINK_LIBRARIES shlwapi)
find_package(Threads REQUIRED)

set(VZ_GEN ${VZ_ANFITRION}/gen)
set(VZ_RUN ${CMAKE_BINARY_DIR}/run)
set(VZ_ICO ${VZ_ANFITRION}/iconos/vorkzel.ico)

add_subdirectory(src)
set_target_properties(vorkzel PROPERTIES WIN32_EXECUTABLE ON)
# Icon and version information as Windows resources.
string(REPLACE "." "," VZ_VERSION_COMAS "${VZ_VERSION}.0")
configure_file(${CMAKE_SOURCE_DIR}/cmake/windows/vorkzel.rc.in ${CMAKE_BINARY_DIR}/vorkzel.rc @ONLY)
target_sources(vorkzel PRIVATE ${CMAKE_BINARY_DIR}/vorkzel.rc)
set_property(SOURCE ${CMAKE_BINARY_DIR}/vorkzel.rc TARGET_DIRECTORY vorkzel APPEND PROPERTY OBJECT_DEPENDS ${VZ_ICO})

# The libraries' check program (scripts/windows.sh sonda): window, keys, timer, sound, decoder.
add_executable(sonda EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/scripts/windows/sonda.cpp)
target_link_libraries(sonda PRIVATE PkgConfig::ALLEGRO PkgConfig::MPG123 Threads::Threads)

# build-win/run: the program with the Linux build's data, as build/run has it. The Linux MIDI
# patch list names Linux files: on Windows MIDI goes to the system's synthesiser.
add_custom_target(stage ALL
    COMMAND ${CMAKE_COMMAND} -DGEN=${VZ_GEN} -DRUN=${VZ_RUN} -DSIN=patches.cfg
            -P ${CMAKE_SOURCE_DIR}/cmake/stage.cmake
    COMMENT "Staging build-win/run")

# One folder: the program, its data, the README and the licences side by side.
install(TARGETS vorkzel RUNTIME DESTINATION .)
foreach(d datos levels midi mp3)
    install(DIRECTORY ${VZ_GEN}/${d} DESTINATION . PATTERN patches.cfg EXCLUDE)
endforeach()
# The mark of a tree of the game's own, which keeps its scores in datos/: the zip carries it, and
# the installer removes it, so that the installed game keeps them in %APPDATA%\vorkzel.
install(FILES ${CMAKE_SOURCE_DIR}/cmake/windows/local.txt DESTINATION datos)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION . RENAME README.txt)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
install(FILES ${VZ_ALLEGRO}/license.txt DESTINATION . RENAME allegro-license.txt)
install(FILES ${VZ_MPG123}/license.txt DESTINATION . RENAME mpg123-license.txt)

set(CPACK_PACKAGE_NAME vorkzel)
set(CPACK_PACKAGE_VERSION ${VZ_VERSION})
set(CPACK_PACKAGE_VENDOR "VORK-ZEL 2003 developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "night-highway arcade game")
set(CPACK_SYSTEM_NAME win64)
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/windows/cpack.cmake)

set(CPACK_PACKAGE_INSTALL_DIRECTORY "VORK-ZEL 2003")
# A 64-bit installer for a 64-bit game (and Wine without its 32-bit half can run it).
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME "VORK-ZEL 2003")
set(CPACK_NSIS_DISPLAY_NAME "VORK-ZEL 2003")
set(CPACK_NSIS_MUI_ICON ${VZ_ICO})
set(CPACK_NSIS_MUI_UNIICON ${VZ_ICO})
set(CPACK_NSIS_INSTALLED_ICON_NAME vorkzel.exe)
# The Start-menu entry starts the game in its folder. The uninstaller removes only what was
# installed: the player's scores and music in %APPDATA%\vorkzel stay.
set(CPACK_NSIS_CREATE_ICONS_EXTRA "
    SetOutPath '$INSTDIR'
    CreateShortCut '$SMPROGRAMS\\$STARTMENU_FOLDER\\VORK-ZEL 2003.lnk' '$INSTDIR\\vorkzel.exe' '' '$INSTDIR\\vorkzel.exe' 0")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
    Delete '$INSTDIR\\datos\\local.txt'")
set(CPACK_NSIS_DELETE_ICONS_EXTRA "
    Delete '$SMPROGRAMS\\$MUI_TEMP\\VORK-ZEL 2003.lnk'")
set(CPACK_GENERATOR "ZIP;NSIS")
include(CPack)
