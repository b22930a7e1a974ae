# The build stages a complete program folder in ${VESTREL_STAGE_DIR}: the executables next
# to the folders the program expects beside itself. `cmake --install` lays out the same
# folder under ${CMAKE_INSTALL_PREFIX}/${VESTREL_INSTALL_DIR}.
set(VESTREL_STAGE_DIR ${CMAKE_BINARY_DIR}/vestrel)
set(VESTREL_INSTALL_DIR lib/vestrel CACHE STRING "Program folder below the install prefix")
set(VESTREL_PROGRAM_SUBDIRS Photo temp temp/temp Sign Stamp OCR PDF res)

foreach(sub ${VESTREL_PROGRAM_SUBDIRS})
  file(MAKE_DIRECTORY ${VESTREL_STAGE_DIR}/${sub})
  install(DIRECTORY DESTINATION ${VESTREL_INSTALL_DIR}/${sub})
endforeach()

# An executable that belongs to the program folder: built into it and installed with it.
function(vestrel_program_executable target)
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${VESTREL_STAGE_DIR}
    INSTALL_RPATH "$ORIGIN;$ORIGIN/lib")
  install(TARGETS ${target} RUNTIME DESTINATION ${VESTREL_INSTALL_DIR})
endfunction()

# A shared library shipped in the program folder (the fax libraries).
function(vestrel_program_library target)
  set_target_properties(${target} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${VESTREL_STAGE_DIR}/lib)
  install(TARGETS ${target} LIBRARY DESTINATION ${VESTREL_INSTALL_DIR}/lib)
endfunction()

# A data file that ships in the program folder at `relative_path`, copied from `source`
# whenever it changes.
function(vestrel_program_data source relative_path)
  get_filename_component(dir ${relative_path} DIRECTORY)
  get_filename_component(name ${relative_path} NAME)
  configure_file(${source} ${VESTREL_STAGE_DIR}/${relative_path} COPYONLY)
  install(FILES ${source} DESTINATION ${VESTREL_INSTALL_DIR}/${dir} RENAME ${name})
endfunction()
