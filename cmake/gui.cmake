# The Qt desktop program `qorvid`: windows and controls in a library (so that the GUI tests
# drive the same code), a small main, resources, install rules and the GUI tests.
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets Network Test)

file(GLOB_RECURSE GUI_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/app/ui/*.cpp ${CMAKE_SOURCE_DIR}/app/ui/*.h
  ${CMAKE_SOURCE_DIR}/controls/*.cpp ${CMAKE_SOURCE_DIR}/controls/*.h
  ${CMAKE_SOURCE_DIR}/util/ui/*.cpp ${CMAKE_SOURCE_DIR}/util/ui/*.h)
list(REMOVE_ITEM GUI_SOURCES ${CMAKE_SOURCE_DIR}/app/ui/main.cpp)

add_library(qorvid_windows STATIC ${GUI_SOURCES})
set_target_properties(qorvid_windows PROPERTIES AUTOMOC ON)
find_library(XCB_LIBRARY xcb REQUIRED)
target_link_libraries(qorvid_windows PUBLIC qorvid_core Qt6::Widgets Qt6::Network ${XCB_LIBRARY})

add_executable(qorvid ${CMAKE_SOURCE_DIR}/app/ui/main.cpp)
target_link_libraries(qorvid PRIVATE qorvid_windows)
set_target_properties(qorvid PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_dependencies(qorvid qorvid_plugins)

# Help pages beside the program, as after installation.
set(QORVID_RES ${CMAKE_SOURCE_DIR}/app/ui/resources)
foreach(code tw gb en)
  configure_file(${QORVID_RES}/help/help_${code}.html ${CMAKE_BINARY_DIR}/help/help_${code}.html COPYONLY)
endforeach()

install(TARGETS qorvid RUNTIME DESTINATION lib/qorvid)
install(DIRECTORY ${QORVID_RES}/help DESTINATION lib/qorvid)
install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
  file(CREATE_LINK ../lib/qorvid/qorvid \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/qorvid\" SYMBOLIC)")
install(FILES ${QORVID_RES}/qorvid.desktop DESTINATION share/applications)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${QORVID_RES}/icons/${size}x${size}/qorvid.png DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${QORVID_RES}/io.qorvid.Qorvid.metainfo.xml DESTINATION share/metainfo)

# A driver for the bench scripts and the screenshots: runs a conversion in the real window.
add_executable(qorvid_gui_driver ${CMAKE_SOURCE_DIR}/bench/gui_driver.cpp)
target_link_libraries(qorvid_gui_driver PRIVATE qorvid_windows Qt6::Test)
set_target_properties(qorvid_gui_driver PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

if(QORVID_BUILD_TESTS AND TARGET qorvid_test_support)
  include(GoogleTest)
  file(GLOB GUI_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/gui/*.cpp)
  add_executable(qorvid_gui_tests ${GUI_TESTS})
  set_target_properties(qorvid_gui_tests PROPERTIES AUTOMOC ON)
  target_link_libraries(qorvid_gui_tests PRIVATE qorvid_windows qorvid_test_support Qt6::Test)
  add_dependencies(qorvid_gui_tests qorvid qorvid_plugins)
  gtest_discover_tests(qorvid_gui_tests
    PROPERTIES LABELS gui TIMEOUT 600 ENVIRONMENT QT_QPA_PLATFORM=offscreen
    DISCOVERY_TIMEOUT 60)
  # The preview needs a real X server: the player draws into the window.
  find_program(XVFB_RUN xvfb-run)
  if(XVFB_RUN)
    add_test(NAME PreviewTest.UnderXvfb
      COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x800x24" env QT_QPA_PLATFORM=xcb
        $<TARGET_FILE:qorvid_gui_tests> --gtest_filter=PreviewTest.*)
    set_tests_properties(PreviewTest.UnderXvfb PROPERTIES LABELS gui TIMEOUT 900)
    add_test(NAME PlayerTest.UnderXvfb
      COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x800x24" env QT_QPA_PLATFORM=xcb
        $<TARGET_FILE:qorvid_gui_tests> --gtest_filter=PlayerTest.*)
    set_tests_properties(PlayerTest.UnderXvfb PROPERTIES LABELS gui TIMEOUT 900)
  endif()
endif()
