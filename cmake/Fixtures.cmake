# add_msi_fixture(<name> WXS <file> [DEFINES VAR=VALUE ...] [ARCH x86|x64])
#
# Builds a real Windows Installer package with wixl into
# ${SETUP_FIXTURE_DIR}/<name>.msi and defines the target fixture_<name>.
set(SETUP_FIXTURE_DIR ${CMAKE_BINARY_DIR}/fixtures)
file(MAKE_DIRECTORY ${SETUP_FIXTURE_DIR})

function(add_msi_fixture name)
  cmake_parse_arguments(F "" "WXS;ARCH" "DEFINES;FILES" ${ARGN})
  if(NOT F_ARCH)
    set(F_ARCH x86)
  endif()
  set(defines)
  foreach(d ${F_DEFINES})
    list(APPEND defines -D ${d})
  endforeach()
  set(out ${SETUP_FIXTURE_DIR}/${name}.msi)
  get_filename_component(wxs_dir ${F_WXS} DIRECTORY)
  add_custom_command(OUTPUT ${out}
    COMMAND ${WIXL} -a ${F_ARCH} ${defines} -D FixtureDir=${wxs_dir} -o ${out} ${F_WXS}
    WORKING_DIRECTORY ${wxs_dir}
    DEPENDS ${F_WXS} ${F_FILES}
    COMMENT "Building fixture package ${name}.msi")
  add_custom_target(fixture_${name} DEPENDS ${out})
endfunction()
