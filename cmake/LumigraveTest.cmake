include(GoogleTest)

# lumigrave_add_test(NAME [WIDGETS] SOURCES file... [LIBS target...])
# Every test binary links the shared fixtures and their main(), which sets up the
# offscreen platform, a private runtime directory and the bundled fonts. WIDGETS gives
# the test a widget application and the widget fixtures.
function(lumigrave_add_test name)
  cmake_parse_arguments(ARG "WIDGETS" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_WIDGETS)
    set(test_main lumigrave_uitestsupport)
  else()
    set(test_main lumigrave_testmain)
  endif()
  target_link_libraries(${name} PRIVATE ${test_main} lumigrave_testsupport lumigrave_resources
                        ${ARG_LIBS} GTest::gtest)
  target_compile_definitions(${name} PRIVATE
                             LUMIGRAVE_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
