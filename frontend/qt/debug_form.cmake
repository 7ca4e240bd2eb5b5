# The debug window's Qt view, a library of its own: the main window links it to show
# the window on F3 and when a run stops into the debugger.
add_library(orlan_debug_form STATIC
  ${CMAKE_CURRENT_LIST_DIR}/debug_form.cc
  ${CMAKE_CURRENT_LIST_DIR}/pane_view.cc
)
set_target_properties(orlan_debug_form PROPERTIES AUTOMOC ON)
target_include_directories(orlan_debug_form PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(orlan_debug_form PUBLIC orlan_debugger orlan_core Qt6::Widgets)
orlan_target_defaults(orlan_debug_form)

# Its test drives the real widgets on the offscreen platform.
add_executable(debug_form_qtest ${PROJECT_SOURCE_DIR}/tests/frontend/qt/debug_form_qtest.cc)
set_target_properties(debug_form_qtest PROPERTIES AUTOMOC ON
                                                  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
target_link_libraries(debug_form_qtest PRIVATE orlan_debug_form Qt6::Test)
orlan_target_defaults(debug_form_qtest)
add_test(NAME debug_form_qtest COMMAND debug_form_qtest)
set_tests_properties(debug_form_qtest PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
