# Read by cpack for each generator: the tarball of the installed tree is the game's alone.
if(CPACK_GENERATOR STREQUAL "TGZ")
  set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
  set(CPACK_COMPONENTS_ALL game)
  set(CPACK_ARCHIVE_GAME_FILE_NAME ${CPACK_PACKAGE_FILE_NAME})
endif()
