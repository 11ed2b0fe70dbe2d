# Installs a build into an empty staging folder (DESTDIR, prefix /usr), lists
# every file installed and fails unless the list equals the expected one:
# a missing file means an install rule was lost, an extra one an install rule
# nobody meant to ship.
#
# -D BUILD_DIR=<build tree>  -D STAGE_DIR=<scratch folder, emptied first>
# -D EXPECTED=<file of paths relative to the prefix, one a line>  [-D CONFIG=<config>]
foreach(var IN ITEMS BUILD_DIR STAGE_DIR EXPECTED)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "StagedInstall.cmake: -D ${var}=... is required")
  endif()
endforeach()

file(REMOVE_RECURSE ${STAGE_DIR})
file(MAKE_DIRECTORY ${STAGE_DIR})

set(config_args)
if(CONFIG)
  set(config_args --config ${CONFIG})
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${STAGE_DIR}
          ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr ${config_args}
  RESULT_VARIABLE install_result)
if(NOT install_result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${install_result}")
endif()

file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${STAGE_DIR}/usr ${STAGE_DIR}/*)
list(SORT installed)
file(STRINGS ${EXPECTED} expected)
list(SORT expected)

message(STATUS "Installed under /usr:")
foreach(path IN LISTS installed)
  message(STATUS "  ${path}")
endforeach()

set(missing ${expected})
if(installed)
  list(REMOVE_ITEM missing ${installed})
endif()
set(unexpected ${installed})
if(expected)
  list(REMOVE_ITEM unexpected ${expected})
endif()
if(missing OR unexpected)
  list(JOIN missing "\n  " missing_text)
  list(JOIN unexpected "\n  " unexpected_text)
  message(FATAL_ERROR "Staged install differs from the expected file list.\n"
                      "Missing:\n  ${missing_text}\nUnexpected:\n  ${unexpected_text}")
endif()
