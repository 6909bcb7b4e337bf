# add_setup_launcher(<name> OUTPUT <exe path> [CATALOGUE <json>] [DEPENDS targets...]
#                    [DEPEND_FILES files...] [UNSTRIPPED] [SHIPPED])
#
# Links a launcher: the shared code, the launcher's own resources and, when
# CATALOGUE is given, the catalogue resources (type 40) that
# tools/catalogue.py generates from the JSON description. Tests use this to
# make launchers with any catalogue, complete or broken. SHIPPED links with
# link-time optimisation, as every product installer carries it (about 15 %
# smaller; one partition: GCC 12 for mingw fails in its partitioned link);
# the tests' many launchers link the same code without it, in a fraction of
# the time.
function(add_setup_launcher name)
  cmake_parse_arguments(L "UNSTRIPPED;SHIPPED" "OUTPUT;CATALOGUE" "DEPENDS;DEPEND_FILES" ${ARGN})
  set(sources ${CMAKE_SOURCE_DIR}/launcher/Main.cpp ${SETUP_RESOURCE_RC})
  if(L_CATALOGUE)
    set(gen_dir ${CMAKE_CURRENT_BINARY_DIR}/${name}.catalogue)
    set(gen_rc ${gen_dir}/catalogue.rc)
    add_custom_command(OUTPUT ${gen_rc}
      COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/catalogue.py rc
              --json ${L_CATALOGUE} --out ${gen_dir}
              --var FIXTURES=${SETUP_FIXTURE_DIR} --var SOURCE=${CMAKE_SOURCE_DIR}
      # The packages' files themselves: a rebuilt database gets a new
      # package code, which the catalogue must carry.
      DEPENDS ${L_CATALOGUE} ${CMAKE_SOURCE_DIR}/tools/catalogue.py ${L_DEPENDS} ${L_DEPEND_FILES}
      COMMENT "Generating the catalogue of ${name}")
    list(APPEND sources ${gen_rc})
  endif()
  add_executable(${name} WIN32 ${sources})
  target_link_libraries(${name} PRIVATE setup_core)
  # Resource pages stay file-backed: a large embedded package is not read
  # into memory at start.
  # --gc-sections drops the data nothing reaches.
  target_link_options(${name} PRIVATE -mwindows -Wl,--file-alignment,4096 -Wl,--gc-sections)
  if(L_SHIPPED)
    set_target_properties(${name} PROPERTIES SETUP_SHIPPED ON)
    target_link_options(${name} PRIVATE -flto -flto-partition=none -Os)
  endif()
  if(NOT L_UNSTRIPPED)
    target_link_options(${name} PRIVATE -s)
  endif()
  get_filename_component(out_dir ${L_OUTPUT} DIRECTORY)
  get_filename_component(out_name ${L_OUTPUT} NAME_WE)
  set_target_properties(${name} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${out_dir} OUTPUT_NAME ${out_name})
  if(L_DEPENDS)
    add_dependencies(${name} ${L_DEPENDS})
  endif()
endfunction()
