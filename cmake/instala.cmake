# Installation in the layout Debian uses for games, and the .deb made from it.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS vorkzel RUNTIME DESTINATION games)
# The generated data, as staged; the game finds it at ../share/games/vorkzel from its program.
foreach(d datos levels midi mp3)
    install(DIRECTORY ${VZ_GEN}/${d} DESTINATION share/games/vorkzel
            FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/data/escritorio/vorkzel.desktop DESTINATION share/applications)

# Compressed manual page and change log, as Debian has them.
set(vz_doc ${CMAKE_BINARY_DIR}/doc)
add_custom_command(OUTPUT ${vz_doc}/vorkzel.6.gz ${vz_doc}/changelog.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${vz_doc}
    COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/data/escritorio/vorkzel.6 > ${vz_doc}/vorkzel.6.gz
    COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/data/escritorio/changelog > ${vz_doc}/changelog.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/data/escritorio/vorkzel.6 ${CMAKE_SOURCE_DIR}/data/escritorio/changelog)
add_custom_target(documentos ALL DEPENDS ${vz_doc}/vorkzel.6.gz ${vz_doc}/changelog.gz)
install(FILES ${vz_doc}/vorkzel.6.gz DESTINATION share/man/man6)
install(FILES ${vz_doc}/changelog.gz ${CMAKE_SOURCE_DIR}/data/escritorio/copyright
        DESTINATION share/doc/vorkzel)

set(CPACK_PACKAGE_NAME vorkzel)
set(CPACK_PACKAGE_VERSION ${VZ_VERSION})
set(CPACK_PACKAGE_CONTACT "VORK-ZEL 2003 developers <vorkzel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "night-highway arcade game")
set(CPACK_PACKAGE_DESCRIPTION "An armoured truck holds the left of a 320 x 240, 8-bit palette screen and
changes between four lanes while the road scrolls: run monsters over for
points, collect money bags, and keep away from the fuel barrels that set the
truck on fire. Three difficulties, each with its own top-ten table.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS freepats)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/vorkzel")
include(CPack)
