# The Windows download: `cpack -G ZIP` in the cross-build folder makes
# marlek-<version>-win64.zip holding marlek.exe, its key file,
# its opening book and a README.txt on adding the engine to WinBoard. The
# engine reads its data files from its working directory, so they sit right
# beside the executable and the GUI starts it in that folder.
#
# Only the files of the `windows` component go into the zip; the Linux
# install layout (bin/, share/marlek/) stays as it is.
install(TARGETS marlek RUNTIME DESTINATION . COMPONENT windows)
install(FILES ${CMAKE_SOURCE_DIR}/data/marlekkeys.bin ${CMAKE_SOURCE_DIR}/data/MarlekBook.txt
        DESTINATION . COMPONENT windows)
# Windows' own line ends, for whatever editor opens it.
configure_file(${CMAKE_SOURCE_DIR}/cmake/windows_readme.txt ${CMAKE_BINARY_DIR}/README.txt
               @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/README.txt DESTINATION . COMPONENT windows)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME marlek)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL windows)
set(CPACK_ARCHIVE_WINDOWS_FILE_NAME marlek-${PROJECT_VERSION}-win64)
include(CPack)
