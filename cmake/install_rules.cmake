# What `cmake --install` puts where (the folders come from
# install_layout.cmake), and the Debian package made from it with
# `cpack -G DEB` (or, for a Windows build, the zip of windows_zip.cmake).
install(TARGETS marlek RUNTIME DESTINATION ${marlek_bin_dir})
foreach(data_file marlekkeys.bin MarlekBook.txt)
  if(EXISTS ${CMAKE_SOURCE_DIR}/data/${data_file})
    install(FILES ${CMAKE_SOURCE_DIR}/data/${data_file} DESTINATION ${marlek_data_dir})
  endif()
endforeach()

if(UNIX)
  # The man page names the folder this build looks in; it is installed
  # compressed, without a time stamp, as Debian wants it.
  configure_file(${CMAKE_SOURCE_DIR}/doc/marlek.6.in ${CMAKE_BINARY_DIR}/marlek.6 @ONLY)
  find_program(GZIP_PROGRAM gzip)
  if(GZIP_PROGRAM)
    execute_process(COMMAND ${GZIP_PROGRAM} -9nc ${CMAKE_BINARY_DIR}/marlek.6
                    OUTPUT_FILE ${CMAKE_BINARY_DIR}/marlek.6.gz COMMAND_ERROR_IS_FATAL ANY)
    install(FILES ${CMAKE_BINARY_DIR}/marlek.6.gz DESTINATION ${marlek_man_dir})
  else()
    install(FILES ${CMAKE_BINARY_DIR}/marlek.6 DESTINATION ${marlek_man_dir})
  endif()
  install(FILES ${CMAKE_SOURCE_DIR}/data/marlek.eng DESTINATION ${marlek_plugin_dir})
endif()

# The Windows download instead (cross build, cmake/mingw-w64.cmake): a zip
# made by `cpack -G ZIP`.
if(WIN32)
  include(cmake/windows_zip.cmake)
  return()
endif()

set(CPACK_PACKAGE_NAME marlek)
set(CPACK_PACKAGE_CONTACT "Marlek maintainers <maintainers@users.noreply.c-seed-d407d43a.example>")
if(UNIX AND GZIP_PROGRAM)
  # Debian wants a copyright file and a changelog with every package.
  string(TIMESTAMP marlek_package_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
  configure_file(${CMAKE_SOURCE_DIR}/doc/changelog.in ${CMAKE_BINARY_DIR}/changelog @ONLY)
  execute_process(COMMAND ${GZIP_PROGRAM} -9nc ${CMAKE_BINARY_DIR}/changelog
                  OUTPUT_FILE ${CMAKE_BINARY_DIR}/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
  install(FILES ${CMAKE_SOURCE_DIR}/doc/copyright ${CMAKE_BINARY_DIR}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "chess engine for xboard")
set(CPACK_PACKAGE_DESCRIPTION
    "Marlek is a chess engine that plays under graphical chess interfaces\n"
    "speaking the xboard/WinBoard protocol, version 2, such as xboard. It\n"
    "plays standard chess at any time control, ponders on the opponent's\n"
    "time, analyses positions and has a small opening book.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
if(CMAKE_CROSSCOMPILING AND CMAKE_SYSTEM_PROCESSOR STREQUAL "aarch64")
  # The arm64 build is linked statically (cmake/aarch64-linux-gnu.cmake): it
  # needs no library, and this machine's dpkg knows none of arm64's.
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
else()
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
set(CPACK_DEBIAN_PACKAGE_SUGGESTS xboard)
# A package built in a tree configured for another prefix would look for its
# data where the package does not put it: refuse it.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/cpack_checks.cmake)
file(WRITE ${CPACK_PROJECT_CONFIG_FILE}
  "if(CPACK_GENERATOR STREQUAL \"DEB\" AND NOT \"${CMAKE_INSTALL_PREFIX}\" STREQUAL \"/usr\")\n"
  "  message(FATAL_ERROR \"The Debian package needs a build configured with -DCMAKE_INSTALL_PREFIX=/usr\")\n"
  "endif()\n")
include(CPack)
