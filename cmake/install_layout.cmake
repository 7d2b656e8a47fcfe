# Where an installed engine lives, and where it looks for its data.
#
# With the prefix /usr (the Debian package is built so) the layout is the
# one Debian gives games: the binary in /usr/games, the data in
# /usr/share/games/marlek. Any other prefix gets the GNU layout: bin/ and
# share/marlek/. The man page and xboard's registration file go to the same
# places under either: share/man/man6, and share/games/plugins/xboard, the
# folder where xboard looks for engines to list.
include(GNUInstallDirs)
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(marlek_bin_dir games)
  set(marlek_data_dir ${CMAKE_INSTALL_DATADIR}/games/marlek)
else()
  set(marlek_bin_dir ${CMAKE_INSTALL_BINDIR})
  set(marlek_data_dir ${CMAKE_INSTALL_DATADIR}/marlek)
endif()
set(marlek_man_dir ${CMAKE_INSTALL_MANDIR}/man6)
set(marlek_plugin_dir ${CMAKE_INSTALL_DATADIR}/games/plugins/xboard)
set(marlek_data_folder ${CMAKE_INSTALL_PREFIX}/${marlek_data_dir})

# The engine looks in the data folder of this configuration, then in the
# same folder found from its own place, so that a tree installed elsewhere
# with `cmake --install --prefix` finds its data too.
file(RELATIVE_PATH marlek_data_from_bin /${marlek_bin_dir} /${marlek_data_dir})
set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/base/data_files.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS MARLEK_DATA_DIR="${marlek_data_folder}"
                      MARLEK_DATA_DIR_FROM_BIN="${marlek_data_from_bin}")
