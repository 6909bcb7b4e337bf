# add_wine_gtest(<target> SOURCES <files...> [PER_CASE] [LIBS <libs...>] [DEPENDS <targets...>])
#
# Builds a GoogleTest program for Windows and registers its tests with ctest.
# Each registered test runs under Wine in a fresh clone of the template
# prefix (tests/support/wine-run.sh). PER_CASE registers every TEST as a
# test of its own (for tests that change machine state); otherwise each test
# suite is one ctest test.
function(add_wine_gtest target)
  cmake_parse_arguments(T "PER_CASE" "TIMEOUT" "SOURCES;LIBS;DEPENDS;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 180)
  endif()
  add_executable(${target} ${T_SOURCES} ${CMAKE_SOURCE_DIR}/tests/support/TestMain.cpp)
  target_link_libraries(${target} PRIVATE setup_test_support gtest ${T_LIBS})
  target_link_options(${target} PRIVATE -mconsole)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_dependencies(${target} wine_template)
  if(T_DEPENDS)
    add_dependencies(${target} ${T_DEPENDS})
  endif()

  set(names)
  foreach(src ${T_SOURCES})
    file(READ ${src} text)
    string(REGEX MATCHALL "\n[ \t]*TEST(_F)?\\([ \t\r\n]*[A-Za-z0-9_]+[ \t\r\n]*,[ \t\r\n]*[A-Za-z0-9_]+" hits "${text}")
    foreach(hit ${hits})
      string(REGEX REPLACE ".*\\([ \t\r\n]*([A-Za-z0-9_]+)[ \t\r\n]*,[ \t\r\n]*([A-Za-z0-9_]+)" "\\1;\\2" pair "${hit}")
      list(GET pair 0 suite)
      list(GET pair 1 case)
      if(T_PER_CASE)
        list(APPEND names "${suite}.${case}")
      else()
        list(APPEND names "${suite}")
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES names)
  foreach(name ${names})
    if(T_PER_CASE)
      set(filter ${name})
    else()
      set(filter "${name}.*")
    endif()
    add_test(NAME ${name} COMMAND ${target} --gtest_filter=${filter})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
      ENVIRONMENT "SETUP_TEST_BUILD=${CMAKE_BINARY_DIR};SETUP_TEST_SOURCE=${CMAKE_SOURCE_DIR}"
      LABELS "${T_LABELS}")
  endforeach()
endfunction()
