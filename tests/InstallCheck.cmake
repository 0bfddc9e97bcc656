# Installs the build into a folder of its own and checks that the installation holds exactly its files;
# the desktop entry and the AppStream file are validated where their validators are installed.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX} OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
set(expected bin/tandrel lib/udev/rules.d/70-tandrel.rules share/applications/org.tandrel.Tandrel.desktop
    share/icons/hicolor/scalable/apps/org.tandrel.Tandrel.svg share/metainfo/org.tandrel.Tandrel.metainfo.xml
    "share/tandrel/Tandrel Schematic.pdf" share/tandrel/TndlHelp.htm)
file(GLOB_RECURSE installed RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT installed)
file(READ "${PREFIX}/share/tandrel/Tandrel Schematic.pdf" pdf LIMIT 4 HEX)
if(NOT installed STREQUAL expected OR NOT pdf STREQUAL "25504446") # %PDF
  message(FATAL_ERROR "installed: ${installed}\nexpected: ${expected}\nthe PDF starts with ${pdf}")
endif()

find_program(desktop_validator desktop-file-validate)
if(desktop_validator)
  execute_process(COMMAND ${desktop_validator} ${PREFIX}/share/applications/org.tandrel.Tandrel.desktop
                  COMMAND_ERROR_IS_FATAL ANY)
endif()
find_program(appstream appstreamcli)
if(appstream)
  execute_process(COMMAND ${appstream} validate --no-net ${PREFIX}/share/metainfo/org.tandrel.Tandrel.metainfo.xml
                  COMMAND_ERROR_IS_FATAL ANY)
endif()
