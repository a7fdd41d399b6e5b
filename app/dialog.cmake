# The dialog programs, on the dialog logic of ui/: marliva.exe with the Win32
# dialog on Windows, marliva with Qt 6 elsewhere.
if(WIN32)
  # A 32-bit GUI program that needs no DLL beyond those of Windows itself.
  add_executable(marliva WIN32 winmain.cpp)
  target_link_libraries(marliva PRIVATE marliva_ui_win32 marliva_ui)
  target_link_options(marliva PRIVATE -static -static-libgcc -static-libstdc++)
  install(TARGETS marliva RUNTIME DESTINATION bin)
else()
  # The Qt dialog program `marliva` (ui/platform_dialog_qt.*).
endif()
