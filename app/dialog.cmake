# The dialog programs, on the dialog logic of ui/: marliva.exe with the Win32
# dialog on Windows, marliva with Qt 6 elsewhere.
if(WIN32)
  # A 32-bit GUI program that needs no DLL beyond those of Windows itself.
  add_executable(marliva WIN32 winmain.cpp)
  target_link_libraries(marliva PRIVATE marliva_ui_win32 marliva_ui)
  target_link_options(marliva PRIVATE -static -static-libgcc -static-libstdc++)
  install(TARGETS marliva RUNTIME DESTINATION bin)
elseif(MARLIVA_QT)
  # The same dialog with Qt 6 Widgets: the Qt services (marliva_ui_qt) under the
  # logic of ui/, and the program `marliva`.
  find_package(Qt6 REQUIRED COMPONENTS Widgets)
  # Objects, not an archive: the logic above calls back into these services.
  add_library(marliva_ui_qt OBJECT
    ${PROJECT_SOURCE_DIR}/ui/platform_dialog_qt.cpp
    ${PROJECT_SOURCE_DIR}/ui/qt_window.cpp
  )
  target_include_directories(marliva_ui_qt PUBLIC ${PROJECT_SOURCE_DIR}/ui)
  target_link_libraries(marliva_ui_qt PUBLIC marliva_ui Qt6::Widgets)
  target_compile_definitions(marliva_ui_qt PUBLIC QT_NO_KEYWORDS
    PRIVATE QT_DISABLE_DEPRECATED_BEFORE=0x060400 QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
  add_executable(marliva main_qt.cpp)
  target_link_libraries(marliva PRIVATE marliva_ui_qt)
  install(TARGETS marliva RUNTIME DESTINATION bin)
  # The window rendered to a PNG file for the README (scripts/screenshot-linux.sh).
  add_executable(window_screenshot window_screenshot.cpp)
  target_link_libraries(window_screenshot PRIVATE marliva_ui_qt)
endif()
