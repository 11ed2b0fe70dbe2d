# Installation: the two programs in bin (and the plot half of quarnet-report
# in libexec), and the files a Linux desktop needs to
# list Quarnet in its menus and software centre, under the hicolor/freedesktop
# locations relative to the prefix (GNUInstallDirs, so distributions can move
# them). Included last, so every program target is already known; a program
# that is not built in this configuration is simply not installed.
#
# The 256 px PNG icon is committed, rendered from the SVG by
# packaging/render-icon.sh:
#   convert -background none org.quarnet.Quarnet.svg -resize 256x256 -depth 8 -strip \
#     PNG32:org.quarnet.Quarnet.png
include(GNUInstallDirs)

set(QUARNET_APP_ID org.quarnet.Quarnet)
set(_quarnet_packaging ${PROJECT_SOURCE_DIR}/packaging)

foreach(_program IN ITEMS quarnet quarnet-report)
  if(TARGET ${_program})
    install(TARGETS ${_program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
# Started by quarnet-report for a plot, not by the user.
if(TARGET quarnet-report-plot)
  install(TARGETS quarnet-report-plot RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/quarnet)
endif()

install(FILES ${_quarnet_packaging}/${QUARNET_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_quarnet_packaging}/${QUARNET_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${_quarnet_packaging}/${QUARNET_APP_ID}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES ${_quarnet_packaging}/${QUARNET_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quarnet/examples
        FILES_MATCHING PATTERN "*.csv")
