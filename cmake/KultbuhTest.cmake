# kultbuh_add_test(NAME name SOURCES ... LIBS ... [GUI])
# Builds one QtTest program linked against the project's libraries and
# registers it with CTest. GUI tests run on the offscreen platform.
function(kultbuh_add_test)
    cmake_parse_arguments(T "GUI" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} Qt6::Test testsupport)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    # The tests choose their databases themselves: neither KULTBUH_DATABASE nor the user's settings file counts.
    set(env "LC_ALL=C.UTF-8" "XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/xdg-runtime" "QT_QPA_PLATFORM=offscreen"
            "KULTBUH_DATABASE=" "XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/xdg-config")
    set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()
